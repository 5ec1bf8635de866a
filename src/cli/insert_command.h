#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// insert FILE...: for each file in turn, Insert -> Insert SHP file with that file chosen in the
// dialog. Every file is tried; the exit code is 1 when any of them was refused.
bool InsertArgumentsValid(const std::vector<std::string>& args);
int RunInsert(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
