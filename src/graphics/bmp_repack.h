#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/bmp_set_listing.h"
#include "graphics/picture_format.h"
#include "graphics/palette_state.h"
#include "graphics/picture_state.h"
#include "graphics/repack_context.h"
#include "platform/ui.h"

// Packs a set of edited BMPs into one sprite file NAME.SHP.
namespace zorvane::graphics {

// What the double-click on a row of the BMP-set list works with.
struct RepackRequest {
  const std::string& DataFolder;  // ends in the separator
  RepackDestination Destination;
  const std::vector<std::string>& Rows;  // the rows of the list whose sets are packed
  // Where the internal palettes are, which PNG files are mapped back to (ends in the separator).
  const std::string& ProgramFolder;
};

// Whether index 213 is transparent in the set's pictures: always for tiles; for icons unless
// the set is one of the 14 screens that have their own palettes (MAINMENU, MAINMEN2,
// TURN01_J to TURN06_J, TURN01_U to TURN06_U), compared in upper case.
bool SetUsesTransparency(RepackDestination destination, std::string_view setName);

// The files of a set in a sorted listing: those whose set name equals `setName` (in upper
// case), in the listing's order, of the format of the first (see SetFileOf); nothing when the
// set has files of more than one format.
struct FilesOfSet {
  std::vector<std::string> Files;
  PictureFormat Format = PictureFormat::Bmp;
  bool Mixed = false;
};
FilesOfSet FindFilesOfSet(const std::vector<std::string>& fileNames, std::string_view setName);

// Packs the sets of the rows as one change. For each set: sets UseTransparency for it, takes
// its files from one listing of the folder DataFolder + RepackFolder + "BMPFILES" (shown, for
// one row, with the pattern set name + "*.BMP"), reads them on WorkThreads() threads and codes
// them in order under the busy pointer (PNG files after loading the internal palettes, mapped
// back to the palette the set's name chooses; see PackPngSet), and stages DataFolder +
// RepackFolder + the set name in upper case + ".SHP" whole under a temporary name. A set
// whose first file is invalid, without files, of a name longer than 8 characters, or too large
// for the format is refused with its message and the others go on. The sprite files are put
// in place together at the end, then each one's message says where it is; a failed write
// changes none of them. The Ui's progress counts the files; when it asks to stop, nothing is
// written, the message says so and Repack.Stopped is set. Sets Repack.Completed when every set
// was written. Returns the files it listed, if it got as far.
std::optional<ListedBmpFiles> RepackBmpSets(const RepackRequest& request, RepackContext& repack,
                                            PaletteState& palettes, PictureState& picture,
                                            platform::Ui& ui);

// "File: " + path + CR LF + "is NOT a 256 color, uncompressed  BMP file. Conversion aborted."
std::string NotA256ColourBmpMessage(const std::string& path);
// The message after a sprite file was written: where it is, how to insert and share it.
std::string RepackedMessage(const std::string& spriteFile);
std::string NoFilesOfSetMessage(std::string_view setName, const std::string& folder);
std::string SetNameTooLongMessage(std::string_view shownName);
std::string MixedSetMessage(std::string_view setName, const std::string& folder);
std::string SpriteFileTooLargeMessage(const std::string& spriteFile);

}  // namespace zorvane::graphics
