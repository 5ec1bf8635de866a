#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/sprite_conversion.h"
#include "platform/ui.h"

namespace zorvane::graphics {

// The three archives whose members are extracted.
enum class MemberArchive { Shp, Til, Pal };

// One member of an archive, as its index record describes it.
struct MemberToExtract {
  MemberArchive Archive = MemberArchive::Shp;
  std::string Name;  // NULs removed, spaces trimmed
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
};

struct ExtractionFolders {
  const std::string& DataFolder;     // ends in the separator
  const std::string& ProgramFolder;  // ends in the separator
};

// The archive's file name: "SHP.PFP", "TIL.PFP", "PAL.PFP".
std::string_view ArchiveFileName(MemberArchive archive);

// Where the extraction of a sprite or tile member puts its sprite file: TOVRIN_PFP/ICONS/ or
// TOVRIN_PFP/TILES/ below the DATA folder, NAME.SHP.
std::string ExtractedSpritePath(const std::string& dataFolder, MemberArchive archive,
                                std::string_view name);

// Whether a member name can become a file name without leaving its folder: not empty, not "."
// or "..", and without a path separator (of any platform) or a drive colon.
bool IsSafeMemberFileName(std::string_view name);

// Takes a member out of its archive, under the busy pointer. Every extraction first makes the
// folder TOVRIN_PFP below the DATA folder; without a member (all archives listed) that is all.
// A sprite or tile member is copied byte for byte into TOVRIN_PFP/ICONS/ or TOVRIN_PFP/TILES/
// as NAME.SHP, converted (from its bytes in the archive) into BMPs in the BMPFILES folder
// below, and summed up in a message unless its last sub-image was rejected; the .SHP and the
// BMPs replace earlier files together once all are written, so a failure changes no file. A
// palette member's 1024 bytes (zeros where the archive ends) are exported into
// TOVRIN_PFP/PALETTES/ and the program folder. A missing archive, a name that cannot be a file
// name and a member outside its archive are refused with a message before any folder below
// TOVRIN_PFP is made. Sets Extraction.Completed when the extraction was reported as done.
void ExtractMember(const ExtractionFolders& folders, const std::optional<MemberToExtract>& member,
                   GraphicsState state, platform::Ui& ui);

// Takes several members of one archive out as ExtractMember does one, as one change: every
// sprite or tile member's .SHP and BMPs are staged (the sub-images converted on WorkThreads()
// threads), and all are put in place together at the end, then each member's summary is shown
// in its turn. A member that cannot be extracted is refused with its message and the others
// go on; a file that cannot be read or written stops the whole and changes nothing. The Ui's
// progress counts the sub-images; when it asks to stop, the staged files and the folders the
// extraction made are taken away, the message says that nothing has changed, and
// Extraction.Stopped is set. Palette members are exported one after another.
// Extraction.Completed is set when every member was reported as done.
void ExtractMembers(const ExtractionFolders& folders, const std::vector<MemberToExtract>& members,
                    GraphicsState state, platform::Ui& ui);

// The messages of the extraction.
std::string CannotFindArchiveMessage(const std::string& archivePath);
std::string UnsafeMemberNameMessage(std::string_view name);
std::string MemberOutsideArchiveMessage(const MemberToExtract& member,
                                        const std::string& archivePath,
                                        std::uint64_t archiveLength);
// The summary after a sprite or tile member: seven pieces joined by CR LF CR LF.
std::string ExtractionSummary(const ExtractionContext& context);

}  // namespace zorvane::graphics
