#include <signal.h>

#include <cerrno>

#include "platform/processes.h"

namespace zorvane::platform {

bool ProcessRuns(long process) {
  return process > 0 && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
}

}  // namespace zorvane::platform
