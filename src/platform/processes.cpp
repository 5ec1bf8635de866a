#include "platform/processes.h"

#include <signal.h>

#include <cerrno>
#include <charconv>

namespace zorvane::platform {

bool ProcessRuns(long process) {
  return process > 0 && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
}

std::optional<long> ProcessNumber(std::string_view digits) {
  long process = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), process);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return process;
}

}  // namespace zorvane::platform
