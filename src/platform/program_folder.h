#pragma once

#include <string>

namespace zorvane::platform {

// Where the program keeps its own files. Without trailing separators.
struct ProgramFolders {
  std::string Data;      // the internal palettes
  std::string Settings;  // the settings file
};

// The folders of the running program: the folder of the executable for both, where that folder
// can be written (a copy run from its build or unpacked folder); otherwise, or when it is the
// bin folder of an installation (share/man/man1/zorvane-cli.1 beside it), for an installed copy
// the platform's per-user folders, created when missing: for the palettes the data folder
// ($XDG_DATA_HOME/Zorvane, else ~/.local/share/Zorvane), for the settings the configuration
// folder ($XDG_CONFIG_HOME/Zorvane, else ~/.config/Zorvane).
ProgramFolders DefaultProgramFolders();

}  // namespace zorvane::platform
