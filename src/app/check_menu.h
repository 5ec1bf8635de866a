#pragma once

#include "app/session.h"

namespace zorvane::app {

// The most problem lines one message shows; "..." stands for the rest.
inline constexpr std::size_t kProblemLinesShown = 40;

// Setup -> Check installation: checks the DATA folder and shows every problem found (up to
// kProblemLinesShown of them), or that there is none, in one message.
void OnCheckInstallation(Session& session);

}  // namespace zorvane::app
