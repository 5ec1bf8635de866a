// Every command that writes, with every file operation it reaches failing in turn: the files of
// the DATA and program folders stay as they were, or the command completed; a failure is never
// reported as success and leaves no temporary file. Running this program alone prints how many
// injected faults each command survived.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/main_window_events.h"
#include "app/session.h"
#include "cli/cli.h"
#include "drill_installation.h"
#include "fault_drill.h"
#include "platform/scripted_ui.h"
#include "support/file_operation_name.h"
#include "support/files.h"

namespace zorvane::reliability {
namespace {

using platform::FileOperation;
namespace fs = std::filesystem;

constexpr std::array<FileOperation, platform::kFileOperationKinds> kOperations{
    FileOperation::Create, FileOperation::Write,      FileOperation::Flush,
    FileOperation::Rename, FileOperation::Delete,     FileOperation::CreateFolder,
    FileOperation::Link,   FileOperation::FolderFlush};

// zorvane-cli on the run's folders.
std::function<CommandReport(const RunFolders&)> Cli(
    std::function<std::vector<std::string>(const RunFolders&)> arguments) {
  return [arguments = std::move(arguments)](const RunFolders& folders) {
    std::vector<std::string> args{"--data", folders.Data, "--program-dir", folders.Program};
    const auto rest = arguments(folders);
    args.insert(args.end(), rest.begin(), rest.end());
    std::ostringstream out;
    const int code = cli::RunCli(args, out, out);
    return CommandReport{code == cli::kExitCompleted, out.str()};
  };
}

std::function<CommandReport(const RunFolders&)> Cli(std::vector<std::string> arguments) {
  return Cli([arguments](const RunFolders&) { return arguments; });
}

// The Setup menu, choosing the DATA folder in the dialog: the settings file is rewritten.
// Setup says nothing when it succeeds; it completed unless it said the file was not written.
CommandReport RunSetup(const RunFolders& folders) {
  platform::ScriptedUi ui;
  app::Session session(ui, folders.Program);
  if (!app::RunStartUp(session, {folders.Data})) return {false, "the start-up failed"};
  ui.Clear();
  ui.QueueFileChoice(folders.Data + "PFPDATA.IDX");
  app::OnSetupMenu(session);
  CommandReport report{true, {}};
  for (const std::string& message : ui.Messages()) {
    report.Text += message + "\n";
    if (message.starts_with("The settings file ")) report.Completed = false;
  }
  return report;
}

// Earlier outputs of an extraction that the new one replaces in part: the sprite file, the
// BMPs 0 to 9 (one named in lower case) and one numbered past the member's sub-images, which
// must stay.
std::function<void(const RunFolders&)> EarlierExtraction(const std::string& folder,
                                                         const std::string& member) {
  return [folder, member](const RunFolders& folders) {
    const std::string extractFolder = folders.Data + "TOVRIN_PFP/" + folder + "/";
    fs::create_directories(extractFolder + "BMPFILES");
    testing::WriteFile(extractFolder + member + ".SHP", "an earlier " + member);
    for (int i = 0; i < 10; ++i) {
      std::string name = member + "_0000" + std::to_string(i) + ".BMP";
      if (i == 3) std::transform(name.begin(), name.end(), name.begin(), ::tolower);
      testing::WriteFile(extractFolder + "BMPFILES/" + name, "an earlier BMP");
    }
    testing::WriteFile(extractFolder + "BMPFILES/" + member + "_00999.BMP", "a longer version");
  };
}

// A command joins the drills with one entry: its name, what it finds in place before it runs,
// how it runs, and the text it shows only when it completes.
const std::vector<Drill>& Drills() {
  static const std::vector<Drill> drills{
      {"ExtractIconsFirstTime", nullptr, Cli({"extract", "shp", "UNITICON"}),
       "Total number of BMPs in UNITICON.SHP is 48"},
      {"ExtractIconsAgain", EarlierExtraction("ICONS", "UNITICON"),
       Cli({"extract", "shp", "UNITICON"}), "Total number of BMPs in UNITICON.SHP is 48"},
      {"ExtractTileAgain", EarlierExtraction("TILES", "T_FRT_DD"),
       Cli({"extract", "til", "T_FRT_DD"}), "Total number of BMPs in T_FRT_DD.SHP is 40"},
      {"ExtractPalette",
       [](const RunFolders& folders) {
         fs::create_directories(folders.Data + "TOVRIN_PFP/PALETTES");
         testing::WriteFile(folders.Data + "TOVRIN_PFP/PALETTES/DAY-palette for PSP.PAL",
                            "an earlier palette");
         fs::remove(folders.Program + "DAY.RGB");
         fs::copy_file(folders.Program + "MAIN.RGB", folders.Program + "DAY.RGB");
       },
       Cli({"extract", "pal", "DAY"}),
       "DAY-palettes for Adobe Photoshop and PaintShopPro has been created in"},
      {"RepackIcons",
       [](const RunFolders& folders) {
         // The BMPs of an extraction, one of them edited, and the sprite file the extraction
         // left, which the repack replaces.
         std::ostringstream out;
         cli::RunCli({"--data", folders.Data, "--program-dir", folders.Program, "extract", "shp",
                      "UNITICON"},
                     out, out);
         const std::string bmp = folders.Data + "TOVRIN_PFP/ICONS/BMPFILES/UNITICON_00003.BMP";
         testing::Bytes edited = testing::ReadFile(bmp);
         edited.back() = static_cast<std::uint8_t>(edited.back() + 1);
         testing::WriteFile(bmp, edited);
       },
       Cli({"repack", "icons", "UNITICON"}), "The files has been converted and saved as: "},
      {"CheckPalettes", nullptr, Cli({"palettes"}),
       "The 15 internal palettes have been loaded from"},
      {"InsertSprite",
       [](const RunFolders& folders) {
         testing::WriteFile(folders.Data + "SHP_OLD.PFP", "an older backup");
         testing::WriteFile(folders.Data + "PFPDATA_OLD.IDX", "an older index backup");
       },
       Cli([](const RunFolders& folders) -> std::vector<std::string> {
         return {"insert", folders.Inputs + kSpriteToInsert};
       }),
       "has completet. Your "},
      {"ExtractUnits",
       [](const RunFolders& folders) {
         fs::create_directories(folders.Data + "EXTRACTS");
         testing::WriteFile(folders.Data + "EXTRACTS/UnitDescriptions.KRT", "earlier text\r\n");
         testing::WriteFile(folders.Data + "EXTRACTS/UnitIDX.KRT", "earlier index...");
       },
       Cli({"extract-units"}), "Your Unitdescriptions has been extracted to"},
      {"InsertUnits",
       [](const RunFolders& folders) {
         testing::WriteFile(folders.Data + "OLD_EXT.IDX", "an older backup");
       },
       Cli([](const RunFolders& folders) -> std::vector<std::string> {
         return {"insert-units", folders.Inputs + kUnitExtractsFolder};
       }),
       "Unitdescriptions inserted."},
      {"Setup",
       [](const RunFolders& folders) {
         testing::WriteFile(folders.Program + "Zorvane.ini", "PFP-path = /an/earlier/DATA/\r\n");
       },
       RunSetup, ""},
  };
  return drills;
}

// How many injected faults, or deaths, each drill came through, per operation; printed when
// the program ends.
using Counts = std::map<std::string, std::array<int, platform::kFileOperationKinds>>;

Counts& SurvivedFaults() {
  static Counts table;
  return table;
}

Counts& RecoveredCrashes() {
  static Counts table;
  return table;
}

void PrintTable(const char* title, const Counts& table) {
  if (table.empty()) return;
  std::printf("\n%s\n%-22s", title, "");
  for (FileOperation operation : kOperations)
    std::printf(" %12s", testing::FileOperationName(operation));
  std::printf(" %12s\n", "total");
  for (const auto& [drill, counts] : table) {
    std::printf("%-22s", drill.c_str());
    int total = 0;
    for (int count : counts) {
      std::printf(" %12d", count);
      total += count;
    }
    std::printf(" %12d\n", total);
  }
}

class DrillTables : public ::testing::Environment {
 public:
  void TearDown() override {
    PrintTable("Injected faults survived, per command and failing operation:", SurvivedFaults());
    PrintTable("Deaths recovered from, per command and the operation it died before:",
               RecoveredCrashes());
  }
};

[[maybe_unused]] const auto* const kTables = ::testing::AddGlobalTestEnvironment(new DrillTables);

using DrillAndOperation = std::tuple<std::size_t, FileOperation>;

std::string DrillAndOperationName(const ::testing::TestParamInfo<DrillAndOperation>& info) {
  return Drills()[std::get<0>(info.param)].Name + "_" +
         testing::FileOperationName(std::get<1>(info.param));
}

class CommandFaults : public ::testing::TestWithParam<DrillAndOperation> {};

TEST_P(CommandFaults, LeaveEveryFileAsItWasOrTheCommandCompleted) {
  const Drill& drill = Drills()[std::get<0>(GetParam())];
  const FileOperation operation = std::get<1>(GetParam());
  const int survived = DrillFaults(drill, operation, DrillInstallation());
  SurvivedFaults()[drill.Name][static_cast<std::size_t>(operation)] = survived;
}

INSTANTIATE_TEST_SUITE_P(Drills, CommandFaults,
                         ::testing::Combine(::testing::Range<std::size_t>(0, Drills().size()),
                                            ::testing::ValuesIn(kOperations)),
                         DrillAndOperationName);

// The operations at which a process can die with something half done.
constexpr std::array<FileOperation, 6> kCrashPoints{
    FileOperation::Write,  FileOperation::Flush,  FileOperation::Link,
    FileOperation::Rename, FileOperation::Delete, FileOperation::FolderFlush};

class CommandCrashes : public ::testing::TestWithParam<DrillAndOperation> {};

TEST_P(CommandCrashes, LeaveTheStateBeforeOrAfterOnceTheNextCommandRecovers) {
  const Drill& drill = Drills()[std::get<0>(GetParam())];
  const FileOperation operation = std::get<1>(GetParam());
  const int recovered = DrillCrashes(drill, operation, DrillInstallation(), Cli({"check"}));
  RecoveredCrashes()[drill.Name][static_cast<std::size_t>(operation)] = recovered;
}

INSTANTIATE_TEST_SUITE_P(Drills, CommandCrashes,
                         ::testing::Combine(::testing::Range<std::size_t>(0, Drills().size()),
                                            ::testing::ValuesIn(kCrashPoints)),
                         DrillAndOperationName);

}  // namespace
}  // namespace zorvane::reliability
