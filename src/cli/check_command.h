#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// check: every problem of the installation on a line of its own; completes when there is none.
bool CheckArgumentsValid(const std::vector<std::string>& args);
int RunCheck(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
