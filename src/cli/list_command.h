#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// list [all|shp|til|pal]: the list of the main window right after start-up (all), or after
// choosing that archive right after start-up.
bool ListArgumentsValid(const std::vector<std::string>& args);
int RunList(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
