#pragma once

#include <optional>
#include <string_view>

namespace zorvane::platform {

// Whether a process of this number runs now (one of another user's counts).
bool ProcessRuns(long process);

// The process number that `digits` spell, all of them; nothing for any other text.
std::optional<long> ProcessNumber(std::string_view digits);

}  // namespace zorvane::platform
