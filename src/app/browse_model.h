#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "graphics/member_view.h"
#include "graphics/palette_state.h"

// The Browse window's side of the session: the members of every archive as table rows, the
// filter over them, and its commands on one member. The window only shows these.
namespace zorvane::app {

enum class MemberKind { Sprite, Tile, Palette, Text, Sound, Other };

// "sprite", "tile", "palette", "text", "sound", "other".
std::string_view KindName(MemberKind kind);

// One member as the Browse window lists it.
struct BrowseRow {
  std::string Name;     // NULs removed, spaces trimmed
  std::string Archive;  // "SHP.PFP"
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
  MemberKind Kind = MemberKind::Other;
};

// The members of all archives, in index order, with the archive names the main window's
// all-archives list shows; the session's tables and lists stay as they are. A missing or
// unreadable index gets its message and lists nothing. Returns whether the index was listed.
bool ListBrowseRows(Session& session, std::vector<BrowseRow>& rows);

// Whether a member name matches what the user typed in the filter box: the text anywhere in
// the name, without regard to case, where `*` stands for any run of characters and `?` for
// any one. An empty filter matches every name.
bool MatchesFilter(std::string_view name, std::string_view filter);

// "N of M members".
std::string FilterStatus(std::size_t shown, std::size_t all);

// Where the row's bytes lie: its archive in the DATA folder.
graphics::MemberLocation LocationOf(const Session& session, const BrowseRow& row);

// The palette a sprite or tile is shown with at first: the one its extraction would choose.
graphics::PaletteId PaletteOfRow(const BrowseRow& row);

// Extracts the members as a double-click in the list of their archive does, those of one
// archive together as one change (SHP.PFP, TIL.PFP, then PAL.PFP); a member of another archive
// is refused with a message. After the user stopped one change, the next do not start.
void ExtractBrowsedMembers(Session& session, const std::vector<BrowseRow>& rows);

// Insert SHP file, with the file dialog showing the member's sprite file where its extraction
// puts it (or its name alone).
void InsertOverBrowsedMember(Session& session, const BrowseRow& row);

}  // namespace zorvane::app
