#include "platform/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"

namespace zorvane::platform {

namespace {

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path().string();
  return executable.parent_path().string();
}

// $VARIABLE/Zorvane, else ~/FALLBACK/Zorvane.
std::string UserFolder(const char* variable, const char* fallback) {
  if (const char* xdg = std::getenv(variable); xdg != nullptr && *xdg != '\0') {
    return std::string(xdg) + kSeparator + "Zorvane";
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + kSeparator + fallback + kSeparator +
         "Zorvane";
}

std::string MadeFolder(std::string folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder;
}

// Whether the executable is an installed copy: its folder cannot be written, or it lies in the
// bin folder of an installation (which a root user can write).
bool Installed(const std::string& executableFolder) {
  if (::access(executableFolder.c_str(), W_OK) != 0) return true;
  std::error_code error;
  return std::filesystem::exists(executableFolder + "/../share/man/man1/zorvane-cli.1", error);
}

}  // namespace

ProgramFolders DefaultProgramFolders() {
  const std::string executableFolder = ExecutableFolder();
  if (!Installed(executableFolder)) return {executableFolder, executableFolder};
  return {MadeFolder(UserFolder("XDG_DATA_HOME", ".local/share")),
          MadeFolder(UserFolder("XDG_CONFIG_HOME", ".config"))};
}

}  // namespace zorvane::platform
