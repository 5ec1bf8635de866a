#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// restore: Insert -> Restore previous version, the backups of the last insertion put back.
bool RestoreArgumentsValid(const std::vector<std::string>& args);
int RunRestore(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
