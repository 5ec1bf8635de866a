#pragma once

#include <string>

namespace zorvane::platform {

// Starts a program in a window of its own without waiting for it; returns whether it started.
bool StartProgram(const std::string& path);

}  // namespace zorvane::platform
