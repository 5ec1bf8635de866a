#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/fault_injection.h"

// The drill every command that writes goes through: the n-th file operation of one kind fails,
// for every n the command reaches, each time on a fresh copy of an installation.
namespace zorvane::reliability {

// The folders of one run: fresh copies of the DATA folder and of the program folder, and the
// folder of the files a command takes from elsewhere (shared by every run, never written).
// Each path ends in the separator.
struct RunFolders {
  std::string Data;
  std::string Program;
  std::string Inputs;
};

// How a command ended, as its user learns it.
struct CommandReport {
  bool Completed = false;  // the exit code or the worker's answer said so
  std::string Text;        // every message it showed
};

using Command = std::function<CommandReport(const RunFolders&)>;

struct Drill {
  std::string Name;  // letters, digits and underscores
  // What the command finds in place before it runs (earlier outputs, older backups), written
  // into each fresh copy; may be empty.
  std::function<void(const RunFolders&)> Prepare;
  Command Run;
  // A piece of text that only the report of a completed run holds; empty when the command says
  // nothing when it completes.
  std::string SuccessText;
};

// The installation each run starts from: a DATA folder, a program folder and the inputs.
struct Installation {
  std::string Data;
  std::string Program;
  std::string Inputs;
};

// The regular files below a folder with their bytes; folders and lock files are left out.
using Files = std::map<std::string, std::vector<std::uint8_t>>;

struct FolderState {
  Files Data;
  Files Program;
  Files Inputs;
};

FolderState StateOf(const RunFolders& folders);

// The names of the files that differ, one per line; empty when there is none.
std::string Differences(const FolderState& expected, const FolderState& actual);

// Makes a fresh copy of the installation in `root`, replacing the last one, with what the drill
// puts in place before the command. Every copy has the same paths, so that files which name
// their folder (the settings file) come out the same in every run.
RunFolders FreshCopy(const std::string& root, const Installation& installation, const Drill& drill);

// Where the drills keep their folders: a memory-backed folder where the system has one (the
// drills create and read tens of thousands of files), else the temporary folder.
std::string DrillParentFolder();

// Runs the command once without faults, then with the n-th operation of kind `operation`
// failing, for n = 1, 2, ... until a run no longer reaches the n-th operation. After every run
// it checks, with test assertions: no hidden file but the lock files is left anywhere; the
// run either reported completion, showed its success text and left the files of the DATA and
// program folders exactly as the run without faults did, or it did not, named the fault in
// its report and left every one of those files as it found it. The inputs never change.
// Folders are not compared: a command may make its output folders before it can fail. Returns
// how many injected faults the command met and survived; stops at the first run that breaks
// the rule.
int DrillFaults(const Drill& drill, platform::FileOperation operation,
                const Installation& installation);

// Runs the command in a child process that dies, as if killed, just before its n-th operation
// of kind `operation`, for every n that a run without faults reaches; after each death it runs
// `recover` (another command, which finds what the dead one left) and checks: the files of the
// DATA and program folders are byte for byte those before the command or those after it,
// backups included; `recover` completed (a check that found no problem); no hidden file but the
// lock files is left; and the recovery said in one line what it did exactly when the dead
// command had left a journal. Returns how many deaths were recovered from.
int DrillCrashes(const Drill& drill, platform::FileOperation operation,
                 const Installation& installation, const Command& recover);

}  // namespace zorvane::reliability
