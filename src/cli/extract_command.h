#pragma once

#include "cli/cli.h"
#include "cli/command.h"

namespace zorvane::cli {

// extract shp|til|pal NAME... | --all [--format bmp|png|sheet]: the palette check of the
// detailed view, the archive's list, then a double-click on the row of each NAME (or on every
// row), the sub-images written in the format given (anywhere after "extract") or else in the
// settings file's. A NAME that is not listed refuses the whole command before anything is
// extracted.
bool ExtractArgumentsValid(const std::vector<std::string>& args);
int RunExtract(CommandContext& context, const std::vector<std::string>& args);

}  // namespace zorvane::cli
