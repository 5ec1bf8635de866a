#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// repack icons|tiles SET... | --all: the palette check of the detailed view, the BMP-set list
// of the destination, then a double-click on the row of each SET (or on every row). A SET
// that is not listed refuses the whole command before anything is packed.
bool RepackArgumentsValid(const std::vector<std::string>& args);
int RunRepack(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
