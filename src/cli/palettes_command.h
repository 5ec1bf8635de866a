#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// palettes: the palette check of the detailed view; completes when all 15 internal palettes
// were loaded.
bool PalettesArgumentsValid(const std::vector<std::string>& args);
int RunPalettes(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
