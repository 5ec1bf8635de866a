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

std::string UserDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
    return std::string(xdg) + kSeparator + "Zorvane";
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + "/.local/share/Zorvane";
}

}  // namespace

std::string DefaultProgramFolder() {
  const std::string executableFolder = ExecutableFolder();
  if (::access(executableFolder.c_str(), W_OK) == 0) return executableFolder;
  const std::string userFolder = UserDataFolder();
  std::error_code error;
  std::filesystem::create_directories(userFolder, error);
  return userFolder;
}

}  // namespace zorvane::platform
