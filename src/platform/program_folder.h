#pragma once

#include <string>

namespace zorvane::platform {

// The folder that holds the settings file and the internal palettes: the folder of the
// running executable or, where that folder cannot be written (an installed copy), the
// per-user application data folder ($XDG_DATA_HOME/Zorvane, else ~/.local/share/Zorvane),
// created when missing. Without a trailing separator.
std::string DefaultProgramFolder();

}  // namespace zorvane::platform
