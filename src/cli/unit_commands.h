#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// extract-units: Extract -> UnitDescriptions into the DATA folder's EXTRACTS folder.
bool ExtractUnitsArgumentsValid(const std::vector<std::string>& args);
int RunExtractUnits(CommandContext& context, const std::vector<std::string>& args);

// insert-units FOLDER: Insert -> Insert Unitdescriptions, the dialog answered with the
// UnitDescriptions.KRT of FOLDER.
bool InsertUnitsArgumentsValid(const std::vector<std::string>& args);
int RunInsertUnits(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
