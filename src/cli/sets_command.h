#pragma once

#include <map>
#include <string>

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// The option buttons of the two destinations: "icons" is Option5, "tiles" Option6.
const std::map<std::string, int>& DestinationChoices();

// sets icons|tiles: the BMP-set list of the main window after choosing that destination.
bool SetsArgumentsValid(const std::vector<std::string>& args);
int RunSets(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
