#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/picture_format.h"
#include "graphics/repack_context.h"
#include "platform/ui.h"

// The sets of edited pictures waiting to be packed into sprite files: NAME_00000.BMP,
// NAME_00001.BMP, ... (or NAME_00000.PNG, ..., or one sheet NAME.PNG) in the BMPFILES folder
// below TOVRIN_PFP/ICONS or TOVRIN_PFP/TILES.
namespace zorvane::graphics {

// The two destinations of the main window: "SHP's for SHP.PFP" and "SHP's for TIL.PFP".
enum class RepackDestination { Icons, Tiles };

inline constexpr std::string_view kBmpSetListTitle = "Current BMP files for Conversion to SHP.";
inline constexpr std::string_view kBmpSetListHeader =
    "Filename    Located in     Number of BMP-files";

// "TOVRIN_PFP/ICONS/" or "TOVRIN_PFP/TILES/", with this platform's separator.
std::string RepackFolderOf(RepackDestination destination);
// DataFolder + "TOVRIN_PFP/ICONS/BMPFILES" (or TILES), without a separator at the end.
std::string BmpFolderOf(const std::string& dataFolder, RepackDestination destination);
// The two hint lines below the list: double-click, and where the sprite file goes.
std::string BmpSetListHint(const std::string& dataFolder, RepackDestination destination);

// The set of a BMP file: the upper-case name without its last six characters before the
// first dot (the "_" and the five-digit number) and without the extension; nothing for a name
// with six or fewer characters before its first dot.
std::optional<std::string> SetNameOf(std::string_view fileName);

// A file of a set: the set's name in upper case and the kind of file.
struct SetFile {
  std::string Set;
  PictureFormat Format = PictureFormat::Bmp;
  bool operator==(const SetFile&) const = default;
};

// The set of a file of the BMPFILES folder, by its name: a .BMP as SetNameOf says (format
// Bmp); a .PNG whose name before its first dot ends in "_" and five digits is a sub-image of
// the set before them (format Png); any other .PNG is the sheet of the set its name before the
// first dot names (format Sheet). Extensions are compared without regard to case; other files
// belong to no set.
std::optional<SetFile> SetFileOf(std::string_view fileName);

// The longest set name a sprite file can take (the game's names have 8 characters at most).
inline constexpr std::size_t kMaxSetName = 8;
// Follows the first 8 characters of a longer set name in the list, which cannot be packed.
inline constexpr char kLongSetNameMarker = '~';

// One row of 33 characters: the set name in 12 (a longer one cut to 8 and the marker), the
// archive ("SHP.PFP" or "TIL.PFP" and 8 blanks), the count right-aligned in 6. A set of PNG
// files has two blanks and "PNG" after the count, a sheet "PNG sheet", a set of files of more
// than one kind their names joined by " and ".
std::string BmpSetRow(std::string_view setName, RepackDestination destination, int fileCount,
                      const std::vector<PictureFormat>& formats = {PictureFormat::Bmp});

// The set name a row shows: its first 12 characters without the blanks around them.
std::string SetNameOfRow(std::string_view row);

// The rows of the sets in the sorted listing of a folder: one row for each run of
// neighbouring files of the same set (whatever their kind); files without a set are passed
// over.
std::vector<std::string> BmpSetRows(const std::vector<std::string>& fileNames,
                                    RepackDestination destination);

// The BMP files a worker listed: the folder, the pattern, and the names found, sorted.
struct ListedBmpFiles {
  std::string Folder;
  std::string Pattern;
  std::vector<std::string> Names;
};

struct BmpSetListing {
  ListedBmpFiles Files;  // every BMP file of the folder (pattern "*.BMP")
  // The rows of the sets of BMP and PNG files.
  std::vector<std::string> Rows;
};

// Lists the BMP sets of the destination's folder. RepackFolder takes the destination's folder
// (for tiles even when their folder is missing, for icons only when it exists). A missing
// folder is refused with a message and lists nothing.
std::optional<BmpSetListing> ListBmpSets(const std::string& dataFolder,
                                         RepackDestination destination, RepackContext& repack,
                                         platform::Ui& ui);

// The files of a set folder whose names begin with a prefix (every file for an empty one),
// sorted without regard to case, and among them the BMP files (pattern prefix + "*.BMP"), as
// the window's file list shows them.
struct SetFolderListing {
  std::vector<std::string> Names;
  ListedBmpFiles Bmps;
};
SetFolderListing ListSetFolder(std::string folder, std::string_view prefix);

// "The Folder: " CR LF folder CR LF "Does not exist. No Files ready for conversion."
std::string MissingBmpFolderMessage(const std::string& folder);

}  // namespace zorvane::graphics
