#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// render shp|til NAME [--frame N] [--palette NAME] [--zoom Z] --png FILE: one sub-image of a
// sprite or tile member as the Browse window's preview shows it at that zoom (transparent
// pixels in the DAY palette's pink), written to FILE as an 8-bit indexed PNG. The options
// come in any order, each at most once.
bool RenderArgumentsValid(const std::vector<std::string>& args);
int RunRender(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
