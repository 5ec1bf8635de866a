#pragma once

#include <string>

#include "graphics/extraction_context.h"
#include "graphics/palette_state.h"
#include "platform/folder_lock.h"
#include "platform/ui.h"

namespace zorvane::graphics {

// The file names of a palette: in ExtractFolder for paint programs, in the program folder for
// the tool itself.
std::string PspPaletteFileName(const std::string& memberName);   // NAME-palette for PSP.PAL
std::string ActPaletteFileName(const std::string& memberName);   // NAME-palette for Photoshop.ACT
std::string GimpPaletteFileName(const std::string& memberName);  // NAME.gpl
std::string InternalPaletteFileName(std::string_view paletteName);  // NAME.RGB

// The five lines that tell how to make the internal palettes, joined by CR LF.
std::string MissingPalettesMessage();

// Turns PaletteRaw, just read for MemberName, into the Paint Shop Pro palette, the Photoshop
// colour table and the GIMP palette in ExtractFolder (the DAY member with its pink entry 213)
// and the internal palette file in `programFolder`, then refreshes the palette table of that
// name (DAY for any other name) and says where the files are. All four files are written whole
// before any of them replaces an earlier one; a failure is shown and leaves the table as it
// was. Returns whether the palette was exported.
// `dataLock` is the DATA folder's, taken by the caller; the program folder's is taken here.
bool ExportPalette(const platform::FolderLock& dataLock, const std::string& programFolder,
                   const ExtractionContext& context, PaletteState& palettes, platform::Ui& ui);

// Loads the 15 internal palette files of `programFolder` into their tables, or, when any is
// missing or cannot be read whole, says so and loads none. Returns whether all were loaded.
bool CheckPalettes(const std::string& programFolder, PaletteState& palettes, platform::Ui& ui);

}  // namespace zorvane::graphics
