// Every command that writes, with every file operation it reaches failing in turn, and dying
// before each: the files of the DATA and program folders are entirely as before or as after, a
// failure is never reported as success, and nothing temporary is left. Each test prints how many
// faults or deaths its command came through.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "app/main_window_events.h"
#include "app/session.h"
#include "fault_drill.h"
#include "platform/scripted_ui.h"
#include "support/files.h"

namespace zorvane::reliability {
namespace {

using platform::FileOperation;
namespace fs = std::filesystem;

// The Setup menu, choosing the DATA folder in the dialog: the settings file is rewritten.
// Setup says nothing when it succeeds; it completed unless it said the file was not written.
CommandReport RunSetup(const Folders& folders) {
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
Prepare EarlierExtraction(const std::string& folder, const std::string& member) {
  return [folder, member](const Folders& folders) {
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

using DrillAndOperation = std::tuple<std::size_t, FileOperation>;

// In the order of platform::FileOperation.
constexpr const char* kOperationNames[] = {"Create", "Write",        "Flush", "Rename",
                                           "Delete", "CreateFolder", "Link",  "FolderFlush"};
static_assert(std::size(kOperationNames) == platform::kFileOperationKinds);

std::string DrillAndOperationName(const ::testing::TestParamInfo<DrillAndOperation>& info) {
  return Drills()[std::get<0>(info.param)].Name + "_" +
         kOperationNames[static_cast<std::size_t>(std::get<1>(info.param))];
}

class CommandFaults : public ::testing::TestWithParam<DrillAndOperation> {};

TEST_P(CommandFaults, LeaveEveryFileAsItWasOrTheCommandCompleted) {
  const auto& [drill, operation] = GetParam();
  const int survived = DrillFaults(Drills()[drill], operation, DrillInstallation());
  std::printf("faults survived: %d\n", survived);
}

// Every drill with each of `operations`.
auto EveryDrillWith(std::vector<FileOperation> operations) {
  return ::testing::Combine(::testing::Range<std::size_t>(0, Drills().size()),
                            ::testing::ValuesIn(operations));
}

INSTANTIATE_TEST_SUITE_P(Drills, CommandFaults,
                         EveryDrillWith({FileOperation::Create, FileOperation::Write,
                                         FileOperation::Flush, FileOperation::Rename,
                                         FileOperation::Delete, FileOperation::CreateFolder,
                                         FileOperation::Link, FileOperation::FolderFlush}),
                         DrillAndOperationName);

class CommandCrashes : public ::testing::TestWithParam<DrillAndOperation> {};

TEST_P(CommandCrashes, LeaveTheStateBeforeOrAfterOnceTheNextCommandRecovers) {
  const auto& [drill, operation] = GetParam();
  const int recovered =
      DrillCrashes(Drills()[drill], operation, DrillInstallation(), Cli({"check"}));
  std::printf("deaths recovered from: %d\n", recovered);
}

// The operations before which a process can die with something half done.
INSTANTIATE_TEST_SUITE_P(Drills, CommandCrashes,
                         EveryDrillWith({FileOperation::Write, FileOperation::Flush,
                                         FileOperation::Link, FileOperation::Rename,
                                         FileOperation::Delete, FileOperation::FolderFlush}),
                         DrillAndOperationName);

}  // namespace

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
       [](const Folders& folders) {
         fs::create_directories(folders.Data + "TOVRIN_PFP/PALETTES");
         testing::WriteFile(folders.Data + "TOVRIN_PFP/PALETTES/DAY-palette for PSP.PAL",
                            "an earlier palette");
         fs::remove(folders.Program + "DAY.RGB");
         fs::copy_file(folders.Program + "MAIN.RGB", folders.Program + "DAY.RGB");
       },
       Cli({"extract", "pal", "DAY"}),
       "DAY-palettes for Adobe Photoshop and PaintShopPro has been created in"},
      {"RepackIcons", EditedIconExtraction, Cli({"repack", "icons", "UNITICON"}),
       "The files has been converted and saved as: "},
      {"ExtractIconSheet", EarlierExtraction("ICONS", "UNITICON"),
       Cli({"extract", "shp", "UNITICON", "--format", "sheet"}),
       "Total number of sub-images in UNITICON.SHP is 48"},
      {"RepackIconPngs", Cli({"extract", "shp", "UNITICON", "--format", "png"}),
       Cli({"repack", "icons", "UNITICON"}), "The files has been converted and saved as: "},
      {"InsertSprite",
       [](const Folders& folders) {
         testing::WriteFile(folders.Data + "SHP_OLD.PFP", "an older backup");
         testing::WriteFile(folders.Data + "PFPDATA_OLD.IDX", "an older index backup");
       },
       CliOnInput("insert", kSpriteToInsert), "has completet. Your "},
      {"RestoreInsertion", CliOnInput("insert", kSpriteToInsert), Cli({"restore"}),
       "The previous version has been put back:"},
      {"ExtractUnits",
       [](const Folders& folders) {
         fs::create_directories(folders.Data + "EXTRACTS");
         testing::WriteFile(folders.Data + "EXTRACTS/UnitDescriptions.KRT", "earlier text\r\n");
         testing::WriteFile(folders.Data + "EXTRACTS/UnitIDX.KRT", "earlier index...");
       },
       Cli({"extract-units"}), "Your Unitdescriptions has been extracted to"},
      {"InsertUnits",
       [](const Folders& folders) {
         testing::WriteFile(folders.Data + "OLD_EXT.IDX", "an older backup");
       },
       CliOnInput("insert-units", kUnitExtractsFolder), "Unitdescriptions inserted."},
      {"Setup",
       [](const Folders& folders) {
         testing::WriteFile(folders.Program + "Zorvane.ini", "PFP-path = /an/earlier/DATA/\r\n");
       },
       RunSetup, ""},
  };
  return drills;
}

}  // namespace zorvane::reliability
