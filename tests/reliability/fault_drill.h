#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/fault_injection.h"

// The drills every command that writes goes through, each time on a fresh copy of an
// installation: the n-th file operation of one kind fails, or the process dies before it.
namespace zorvane::reliability {

// A DATA folder, a program folder, and the files commands take from elsewhere (never written);
// each path ends in the separator.
struct Folders {
  std::string Data;
  std::string Program;
  std::string Inputs;
};

// How a command ended, as its user learns it.
struct CommandReport {
  bool Completed = false;  // the exit code or the worker's answer said so
  std::string Text;        // every message it showed
};

using Command = std::function<CommandReport(const Folders&)>;
using Prepare = std::function<void(const Folders&)>;

// zorvane-cli on the folders (--data, --program-dir) with the arguments.
Command Cli(std::function<std::vector<std::string>(const Folders&)> arguments);
Command Cli(std::vector<std::string> arguments);
// zorvane-cli COMMAND with a file or folder of the inputs.
Command CliOnInput(std::string command, std::string input);

// The BMPs of an extraction of UNITICON, one of them edited, waiting to be packed.
void EditedIconExtraction(const Folders& folders);

struct Drill {
  std::string Name;  // letters, digits and underscores
  Prepare Before;    // what the command finds in place (earlier outputs, older backups)
  Command Run;
  std::string SuccessText;  // only the report of a completed run holds it; empty if none
};

// Every drill, each with a name of its own.
const std::vector<Drill>& Drills();

// The regular files below the three folders with their bytes, named "DATA/...", "program/..."
// and "inputs/..."; lock files are left out.
using FolderState = std::map<std::string, std::vector<std::uint8_t>>;
FolderState StateOf(const Folders& folders);
// The names of the files that differ, one per line; empty when there is none.
std::string Differences(const FolderState& expected, const FolderState& actual);

// A fresh copy of the installation's DATA and program folders in `root`, always at the same
// paths (the settings file names its folder), with what `prepare` puts in place.
Folders FreshCopy(const std::string& root, const Folders& installation, const Prepare& prepare);

// Where the drills keep their folders: in memory where the system allows.
std::string DrillParentFolder();

// The sample installation at scale 1, made once: DATA, a program folder with the 15 internal
// palettes, and inputs: the files below to insert and, in units/, the unit-description
// extracts of the sample at scale 2.
const Folders& DrillInstallation();
inline constexpr char kSpriteToInsert[] = "BUTTONS.SHP";        // a member of SHP.PFP
inline constexpr char kSecondSpriteToInsert[] = "CURSORS.SHP";  // another one
inline constexpr char kTileToInsert[] = "T_FRT_DD.SHP";         // a member of TIL.PFP
inline constexpr char kUnitExtractsFolder[] = "units/";

// For every n the command reaches, the n-th operation of that kind fails: the command either
// completed, showed its success text and left the folders as a run without faults does, or
// named the fault, showed no success and left every file as it found it; no hidden file but the
// lock files is left. Returns how many faults the command survived.
int DrillFaults(const Drill& drill, platform::FileOperation operation, const Folders& installation);

// For every n the command reaches, it runs in a child that dies just before its n-th operation
// of that kind; then `recover` runs and must complete, the folders must be byte for byte the
// state before or after (backups included), no hidden file but the lock files is left, and the
// recovery says what it did exactly when a journal was left. Returns how many deaths were
// recovered from.
int DrillCrashes(const Drill& drill, platform::FileOperation operation, const Folders& installation,
                 const Command& recover);

}  // namespace zorvane::reliability
