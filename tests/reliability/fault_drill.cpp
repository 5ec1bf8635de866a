#include "fault_drill.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <vector>

#include "platform/file_transaction.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {

namespace {

using platform::FaultInjection;
namespace fs = std::filesystem;

constexpr char kInjectedReason[] = "Injected fault";

Files FilesBelow(const std::string& folder) {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == platform::kLockFileName) continue;
    files[fs::relative(entry.path(), folder).generic_string()] =
        testing::ReadFile(entry.path().string());
  }
  return files;
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

}  // namespace

FolderState StateOf(const RunFolders& folders) {
  return {FilesBelow(folders.Data), FilesBelow(folders.Program), FilesBelow(folders.Inputs)};
}

std::string Differences(const FolderState& expected, const FolderState& actual) {
  return Differences(expected.Data, actual.Data, "DATA/") +
         Differences(expected.Program, actual.Program, "program folder/") +
         Differences(expected.Inputs, actual.Inputs, "inputs/");
}

namespace {

// Hidden files other than the lock files: temporaries, journals, files set aside.
std::vector<std::string> TemporaryFilesBelow(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with('.') && name != platform::kLockFileName) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

void ExpectNoTemporaryFiles(const RunFolders& folders) {
  for (const std::string& folder : {folders.Data, folders.Program, folders.Inputs}) {
    EXPECT_EQ(TemporaryFilesBelow(folder), std::vector<std::string>{});
  }
}

bool Holds(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

}  // namespace

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
    ExpectNoTemporaryFiles(folders);
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

int DrillCrashes(const Drill& drill, platform::FileOperation operation,
                 const Installation& installation, const Command& recover) {
  const testing::TempFolder root(DrillParentFolder());
  RunFolders folders = FreshCopy(root.Path(), installation, drill);
  const FolderState before = StateOf(folders);
  FaultInjection::Reset();
  const CommandReport reference = drill.Run(folders);
  const int reached = FaultInjection::Count(operation);
  EXPECT_TRUE(reference.Completed) << "without faults:\n" << reference.Text;
  const FolderState after = StateOf(folders);

  int recovered = 0;
  for (int n = 1; n <= reached && !::testing::Test::HasFailure(); ++n) {
    folders = FreshCopy(root.Path(), installation, drill);
    FaultInjection::Reset();
    const pid_t child = ::fork();
    if (child == 0) {
      FaultInjection::DieAt(operation, n);
      (void)drill.Run(folders);
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    const bool interrupted =
        platform::JournalPending(folders.Data) || platform::JournalPending(folders.Program);
    const CommandReport report = recover(folders);

    SCOPED_TRACE("died at operation " + std::to_string(n) + ", the next command said:\n" +
                 report.Text);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == platform::kInjectedDeathExitCode);
    ExpectNoTemporaryFiles(folders);
    const FolderState state = StateOf(folders);
    const bool old = Differences(before, state).empty();
    const bool renewed = Differences(after, state).empty();
    EXPECT_TRUE(old || renewed) << "neither the state before nor the state after:\n"
                                << Differences(after, state);
    EXPECT_TRUE(report.Completed) << "the installation has problems after the recovery";
    // The recovery says in one line what it did, and says nothing where nothing was left.
    EXPECT_EQ(Holds(report.Text, "Zorvane found a change of"), interrupted);
    if (interrupted) {
      EXPECT_TRUE(old || Holds(report.Text, "and has completed it"));
      EXPECT_TRUE(renewed || !Holds(report.Text, "and has completed it"));
    }
    ++recovered;
  }
  return recovered;
}

}  // namespace zorvane::reliability
