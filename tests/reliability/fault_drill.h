#pragma once

#include <functional>
#include <string>

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

struct Drill {
  std::string Name;  // letters, digits and underscores
  // What the command finds in place before it runs (earlier outputs, older backups), written
  // into each fresh copy; may be empty.
  std::function<void(const RunFolders&)> Prepare;
  std::function<CommandReport(const RunFolders&)> Run;
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

// Where the drills keep their folders: a memory-backed folder where the system has one (the
// drills create and read tens of thousands of files), else the temporary folder.
std::string DrillParentFolder();

// Runs the command once without faults, then with the n-th operation of kind `operation`
// failing, for n = 1, 2, ... until a run no longer reaches the n-th operation. After every run
// it checks, with test assertions: no file whose name holds ".zorvane-" is left anywhere; the
// run either reported completion, showed its success text and left the files of the DATA and
// program folders exactly as the run without faults did, or it did not, named the fault in
// its report and left every one of those files as it found it. The inputs never change.
// Folders are not compared: a command may make its output folders before it can fail. Returns
// how many injected faults the command met and survived; stops at the first run that breaks
// the rule.
int DrillFaults(const Drill& drill, platform::FileOperation operation,
                const Installation& installation);

}  // namespace zorvane::reliability
