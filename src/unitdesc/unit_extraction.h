#pragma once

#include <string>

#include "platform/ui.h"

namespace zorvane::unitdesc {

// Copies the unit descriptions of the installation in `dataFolder` into the folder EXTRACTS
// below it (found whatever the case of its name, created when missing): the text of the block
// from member "0" of the first archive to the end of TXT.PFP as UnitDescriptions.KRT, each
// line followed by CR LF, and one record per member of the block as UnitIDX.KRT. Every check
// runs before anything is written, and the two files are replaced together or not at all.
// Tells the user the outcome; returns whether the extracts were written.
bool ExtractUnitDescriptions(const std::string& dataFolder, platform::Ui& ui);

}  // namespace zorvane::unitdesc
