#pragma once

#include <string>

namespace zorvane::platform {

// The folder that holds the settings file and the internal palettes: the folder of the
// running executable or, where that folder cannot be written (an installed copy), the
// per-user application data folder ($XDG_DATA_HOME/Zorvane, else ~/.local/share/Zorvane),
// created when missing. Without a trailing separator.
std::string DefaultProgramFolder();

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

}  // namespace zorvane::platform
