#include "fault_drill.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <vector>

#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {

namespace {

using platform::FaultInjection;
namespace fs = std::filesystem;

constexpr char kInjectedReason[] = "Injected fault";

// The regular files below a folder with their bytes; folders are left out.
using Files = std::map<std::string, testing::Bytes>;

Files FilesBelow(const std::string& folder) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).generic_string()] =
        testing::ReadFile(entry.path().string());
  }
  return files;
}

struct FolderState {
  Files Data;
  Files Program;
  Files Inputs;
};

FolderState StateOf(const RunFolders& folders) {
  return {FilesBelow(folders.Data), FilesBelow(folders.Program), FilesBelow(folders.Inputs)};
}

// The names of the files that differ, one per line, for a readable failure.
std::string Differences(const Files& expected, const Files& actual, const std::string& where) {
  std::string out;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      out += where + name + " is missing\n";
    } else if (found->second != bytes) {
      out += where + name + " differs\n";
    }
  }
  for (const auto& [name, bytes] : actual) {
    if (!expected.contains(name)) out += where + name + " should not be there\n";
  }
  return out;
}

std::string Differences(const FolderState& expected, const FolderState& actual) {
  return Differences(expected.Data, actual.Data, "DATA/") +
         Differences(expected.Program, actual.Program, "program folder/") +
         Differences(expected.Inputs, actual.Inputs, "inputs/");
}

std::vector<std::string> TemporaryFilesBelow(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.path().filename().string().find(".zorvane-") != std::string::npos) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

// Makes a fresh copy of the installation in `root`, replacing the last one, with what the drill
// puts in place before the command. Every copy has the same paths, so that files which name
// their folder (the settings file) come out the same in every run.
RunFolders FreshCopy(const std::string& root, const Installation& installation,
                     const Drill& drill) {
  const RunFolders folders{root + "DATA/", root + "PROGRAM/", installation.Inputs};
  fs::remove_all(folders.Data);
  fs::remove_all(folders.Program);
  fs::copy(installation.Data, folders.Data, fs::copy_options::recursive);
  fs::copy(installation.Program, folders.Program, fs::copy_options::recursive);
  if (drill.Prepare) drill.Prepare(folders);
  return folders;
}

}  // namespace

std::string DrillParentFolder() {
  std::error_code error;
  if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path().string();
}

int DrillFaults(const Drill& drill, platform::FileOperation operation,
                const Installation& installation) {
  const testing::TempFolder root(DrillParentFolder());
  RunFolders folders = FreshCopy(root.Path(), installation, drill);
  const FolderState before = StateOf(folders);
  FaultInjection::Reset();
  const CommandReport reference = drill.Run(folders);
  EXPECT_TRUE(reference.Completed) << "without faults:\n" << reference.Text;
  if (!reference.Completed) return 0;
  const FolderState after = StateOf(folders);

  int survived = 0;
  for (int n = 1;; ++n) {
    folders = FreshCopy(root.Path(), installation, drill);
    FaultInjection::Reset();
    FaultInjection::FailAt(operation, n, kInjectedReason);
    const CommandReport report = drill.Run(folders);
    const bool reached = FaultInjection::Count(operation) >= n;
    FaultInjection::Reset();

    SCOPED_TRACE("fault at operation " + std::to_string(n) + ", report:\n" + report.Text);
    for (const std::string& folder : {folders.Data, folders.Program, folders.Inputs}) {
      EXPECT_EQ(TemporaryFilesBelow(folder), std::vector<std::string>{});
    }
    const FolderState state = StateOf(folders);
    const bool mentionsSuccess =
        !drill.SuccessText.empty() && report.Text.find(drill.SuccessText) != std::string::npos;
    if (report.Completed) {
      EXPECT_EQ(Differences(after, state), "");
      EXPECT_TRUE(drill.SuccessText.empty() || mentionsSuccess);
    } else {
      EXPECT_TRUE(reached) << "a run that met no fault did not complete";
      EXPECT_EQ(Differences(before, state), "");
      EXPECT_FALSE(mentionsSuccess);
      EXPECT_NE(report.Text.find(kInjectedReason), std::string::npos);
    }
    if (::testing::Test::HasFailure() || !reached) return survived;
    ++survived;
  }
}

}  // namespace zorvane::reliability
