#include "platform/start_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/paths.h"

extern char** environ;

namespace zorvane::platform {

bool StartProgram(const std::string& path) {
  const std::string resolved = ResolvePath(path);
  if (::access(resolved.c_str(), X_OK) != 0) return false;
  pid_t child = 0;
  char* const arguments[] = {const_cast<char*>(resolved.c_str()), nullptr};
  return ::posix_spawn(&child, resolved.c_str(), nullptr, nullptr, arguments, environ) == 0;
}

}  // namespace zorvane::platform
