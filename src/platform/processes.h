#pragma once

namespace zorvane::platform {

// Whether a process of this number runs now (one of another user's counts).
bool ProcessRuns(long process);

}  // namespace zorvane::platform
