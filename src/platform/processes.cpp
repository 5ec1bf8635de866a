#include "platform/processes.h"

#include <charconv>

namespace zorvane::platform {

std::optional<long> ProcessNumber(std::string_view digits) {
  long process = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), process);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return process;
}

}  // namespace zorvane::platform
