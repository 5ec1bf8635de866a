#include "fault_drill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "cli/cli.h"
#include "platform/file_transaction.h"
#include "sample/sample_installation.h"
#include "sample/sample_pictures.h"
#include "sample/sample_sprites.h"
#include "support/child_process.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {

namespace {

using platform::FaultInjection;
namespace fs = std::filesystem;

// Hidden files other than the lock files: temporaries, journals, files set aside.
void ExpectNoTemporaryFiles(const Folders& folders) {
  for (const std::string& folder : {folders.Data, folders.Program, folders.Inputs}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.starts_with('.') && name != platform::kLockFileName) << entry.path();
    }
  }
}

// A folder's path without the separator at the end, which the Windows runtime's look at a
// folder refuses.
fs::path FolderPath(const std::string& path) {
  return fs::path(path).parent_path();
}

bool Holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

// Runs the command once without faults, then `attempt` on a fresh copy for n = 1, 2, ... as
// long as that run reached the n-th operation of the kind and nothing has failed; `attempt` gets
// the states before and after the run without faults. Returns how many attempts passed.
template <class Attempt>
int ForEveryOperation(const Drill& drill, platform::FileOperation operation,
                      const Folders& installation, const Attempt& attempt) {
  const testing::TempFolder root(DrillParentFolder());
  Folders folders = FreshCopy(root.Path(), installation, drill.Before);
  const FolderState before = StateOf(folders);
  FaultInjection::Reset();
  const CommandReport reference = drill.Run(folders);
  const int reached = FaultInjection::Count(operation);
  EXPECT_TRUE(reference.Completed) << "without faults:\n" << reference.Text;
  const FolderState after = StateOf(folders);
  int passed = 0;
  for (int n = 1; n <= reached && !::testing::Test::HasFailure(); ++n, ++passed) {
    folders = FreshCopy(root.Path(), installation, drill.Before);
    FaultInjection::Reset();
    attempt(n, folders, before, after);
    FaultInjection::Reset();
    ExpectNoTemporaryFiles(folders);
  }
  return passed;
}

void RunOrThrow(const Command& command, const Folders& folders) {
  const CommandReport report = command(folders);
  if (!report.Completed) throw std::runtime_error("preparing failed:\n" + report.Text);
}

struct MadeInstallation {
  testing::TempFolder Root{DrillParentFolder()};
  Folders Made{Root / "DATA/", Root / "PROGRAM/", Root / "INPUTS/"};

  MadeInstallation() {
    fs::create_directories(Made.Program);
    fs::create_directories(FolderPath(Made.Inputs));
    if (!sample::WriteSampleInstallation(Made.Data, {1})) throw std::runtime_error("sample");
    // The internal palettes; the files it makes in the DATA folder are not part of the start.
    RunOrThrow(Cli({"extract", "pal", "--all"}), Made);
    fs::remove_all(Made.Data + "TOVRIN_PFP");
    testing::WriteFile(Made.Inputs + kSpriteToInsert,
                       sample::SpriteFile({sample::Button(5), sample::Button(6)}, true));
    testing::WriteFile(Made.Inputs + kSecondSpriteToInsert,
                       sample::SpriteFile({sample::Button(7)}, true));
    testing::WriteFile(Made.Inputs + kTileToInsert,
                       sample::SpriteFile({sample::Button(8), sample::Button(9)}, true));

    const Folders larger{Root / "LARGER/", Made.Program, Made.Inputs};
    if (!sample::WriteSampleInstallation(larger.Data, {2})) throw std::runtime_error("sample");
    RunOrThrow(Cli({"extract-units"}), larger);
    fs::copy(larger.Data + "EXTRACTS", FolderPath(Made.Inputs + kUnitExtractsFolder),
             fs::copy_options::recursive);
    fs::remove_all(FolderPath(larger.Data));
  }
};

}  // namespace

Command Cli(std::function<std::vector<std::string>(const Folders&)> arguments) {
  return [arguments = std::move(arguments)](const Folders& folders) {
    const auto run = testing::RunCliIn(arguments(folders), folders.Data, folders.Program);
    return CommandReport{run.Code == cli::kExitCompleted, run.Out + run.Err};
  };
}

Command Cli(std::vector<std::string> arguments) {
  return Cli([arguments](const Folders&) { return arguments; });
}

Command CliOnInput(std::string command, std::string input) {
  return Cli([command, input](const Folders& folders) -> std::vector<std::string> {
    return {command, folders.Inputs + input};
  });
}

void EditedIconExtraction(const Folders& folders) {
  Cli({"extract", "shp", "UNITICON"})(folders);
  const std::string bmp = folders.Data + "TOVRIN_PFP/ICONS/BMPFILES/UNITICON_00003.BMP";
  testing::Bytes edited = testing::ReadFile(bmp);
  edited.back() = static_cast<std::uint8_t>(edited.back() + 1);
  testing::WriteFile(bmp, edited);
}

FolderState StateOf(const Folders& folders) {
  FolderState state;
  for (const auto& [folder, name] : {std::pair{folders.Data, "DATA/"},
                                     {folders.Program, "program/"},
                                     {folders.Inputs, "inputs/"}}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file() || entry.path().filename() == platform::kLockFileName) continue;
      state[name + fs::relative(entry.path(), folder).generic_string()] =
          testing::ReadFile(entry.path().string());
    }
  }
  return state;
}

std::string Differences(const FolderState& expected, const FolderState& actual) {
  std::string out;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) out += name + " is missing\n";
    if (found != actual.end() && found->second != bytes) out += name + " differs\n";
  }
  for (const auto& [name, bytes] : actual) {
    if (!expected.contains(name)) out += name + " should not be there\n";
  }
  return out;
}

Folders FreshCopy(const std::string& root, const Folders& installation, const Prepare& prepare) {
  const Folders folders{root + "DATA/", root + "PROGRAM/", installation.Inputs};
  fs::remove_all(FolderPath(folders.Data));
  fs::remove_all(FolderPath(folders.Program));
  fs::copy(FolderPath(installation.Data), FolderPath(folders.Data), fs::copy_options::recursive);
  fs::copy(FolderPath(installation.Program), FolderPath(folders.Program), fs::copy_options::recursive);
  if (prepare) prepare(folders);
  return folders;
}

std::string DrillParentFolder() {
#ifndef _WIN32
  std::error_code error;
  const auto status = fs::status("/dev/shm", error);
  if (!error && fs::is_directory(status) &&
      (status.permissions() & fs::perms::others_write) != fs::perms::none) {
    return "/dev/shm";
  }
#endif
  return fs::temp_directory_path().string();
}

namespace {

// In another process: the drill named NAME dies just before its N-th operation of kind KIND on
// the folders DATA, PROGRAM and INPUTS.
const bool kDying = testing::RegisterChildWork("die-in-drill", [](const auto& args) {
  const auto drill = std::find_if(Drills().begin(), Drills().end(),
                                  [&](const Drill& each) { return each.Name == args[0]; });
  if (drill == Drills().end()) return 121;
  FaultInjection::DieAt(static_cast<platform::FileOperation>(std::stoi(args[1])),
                        std::stoi(args[2]));
  (void)drill->Run(Folders{args[3], args[4], args[5]});
  return 0;
});

}  // namespace

int DrillFaults(const Drill& drill, platform::FileOperation operation,
                const Folders& installation) {
  return ForEveryOperation(
      drill, operation, installation,
      [&](int n, const Folders& folders, const FolderState& before, const FolderState& after) {
        FaultInjection::FailAt(operation, n, "Injected fault");
        const CommandReport report = drill.Run(folders);
        SCOPED_TRACE("fault at operation " + std::to_string(n) + ", report:\n" + report.Text);
        const bool success = !drill.SuccessText.empty() && Holds(report.Text, drill.SuccessText);
        EXPECT_EQ(Differences(report.Completed ? after : before, StateOf(folders)), "");
        EXPECT_EQ(success, report.Completed && !drill.SuccessText.empty());
        EXPECT_TRUE(report.Completed || Holds(report.Text, "Injected fault"));
      });
}

int DrillCrashes(const Drill& drill, platform::FileOperation operation, const Folders& installation,
                 const Command& recover) {
  return ForEveryOperation(
      drill, operation, installation,
      [&](int n, const Folders& folders, const FolderState& before, const FolderState& after) {
        const int exitCode = testing::RunInChild(
            "die-in-drill", {drill.Name, std::to_string(static_cast<int>(operation)),
                             std::to_string(n), folders.Data, folders.Program, folders.Inputs});
        const bool interrupted =
            platform::JournalPending(folders.Data) || platform::JournalPending(folders.Program);
        const CommandReport report = recover(folders);
        SCOPED_TRACE("died at operation " + std::to_string(n) + ", the next command said:\n" +
                     report.Text);
        EXPECT_EQ(exitCode, platform::kInjectedDeathExitCode);
        const FolderState state = StateOf(folders);
        const bool old = Differences(before, state).empty();
        const bool renewed = Differences(after, state).empty();
        EXPECT_TRUE(old || renewed) << Differences(after, state);
        EXPECT_TRUE(report.Completed) << "the installation has problems after the recovery";
        // One line says what the recovery did, and nothing is said where nothing was left.
        EXPECT_EQ(Holds(report.Text, "Zorvane found a change of"), interrupted);
        const bool completed = Holds(report.Text, "and has completed it");
        EXPECT_TRUE(!interrupted || (completed ? renewed : old));
      });
}

const Folders& DrillInstallation() {
  static const auto made = std::make_unique<MadeInstallation>();
  return made->Made;
}

}  // namespace zorvane::reliability
