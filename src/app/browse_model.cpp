#include "app/browse_model.h"

#include <cctype>

#include "app/main_window_events.h"
#include "archive/member_listing.h"
#include "archive/sprite_insertion.h"
#include "graphics/member_extraction.h"
#include "platform/file_system.h"
#include "platform/number_text.h"

namespace zorvane::app {

namespace {

// A list row is the 8-character name, four spaces, the archive column, then two numbers of 15
// characters each.
constexpr std::size_t kArchiveColumnStart = 12;
constexpr std::size_t kNumbersWidth = 30;

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The archive's file name from the column, without the spaces that pad its base name there
// ("SHP     .PFP" is SHP.PFP).
std::string ArchiveColumnOf(const std::string& row) {
  if (row.size() < kArchiveColumnStart + kNumbersWidth) return {};
  std::string_view column = std::string_view(row).substr(
      kArchiveColumnStart, row.size() - kArchiveColumnStart - kNumbersWidth);
  constexpr std::string_view kExtension = ".PFP";
  if (!column.ends_with(kExtension)) return Trimmed(column);
  column.remove_suffix(kExtension.size());
  return Trimmed(column) + std::string(kExtension);
}

MemberKind KindOfArchive(const std::string& archive) {
  const std::string upper = platform::UpperCase(archive);
  if (upper == "SHP.PFP") return MemberKind::Sprite;
  if (upper == "TIL.PFP") return MemberKind::Tile;
  if (upper == "PAL.PFP") return MemberKind::Palette;
  if (upper == "TXT.PFP") return MemberKind::Text;
  if (upper == "SND.PFP") return MemberKind::Sound;
  return MemberKind::Other;
}

std::optional<graphics::MemberArchive> ExtractedArchiveOf(MemberKind kind) {
  switch (kind) {
    case MemberKind::Sprite:
      return graphics::MemberArchive::Shp;
    case MemberKind::Tile:
      return graphics::MemberArchive::Til;
    case MemberKind::Palette:
      return graphics::MemberArchive::Pal;
    default:
      return std::nullopt;
  }
}

char Folded(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Whether the whole of `name` matches `pattern`, `*` and `?` being wildcards. A `*` that
// failed is retried one character further, from the last `*` only: no backtracking beyond.
bool MatchesWhole(std::string_view name, std::string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Folded(pattern[p]) == Folded(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::string_view KindName(MemberKind kind) {
  switch (kind) {
    case MemberKind::Sprite:
      return "sprite";
    case MemberKind::Tile:
      return "tile";
    case MemberKind::Palette:
      return "palette";
    case MemberKind::Text:
      return "text";
    case MemberKind::Sound:
      return "sound";
    case MemberKind::Other:
      break;
  }
  return "other";
}

bool ListBrowseRows(Session& session, std::vector<BrowseRow>& rows) {
  rows.clear();
  const auto reading = LockForReading(session);
  if (!reading) return false;
  // A copy: the listing writes the tables, which belong to the main window's list.
  archive::IndexTables tables = session.Index;
  std::vector<std::string> listed;
  std::string toolTip;
  if (!archive::ListArchiveMembers(session.DataFolder, archive::ArchiveChoice::AllArchives, tables,
                                   {listed, toolTip}, session.Ui)) {
    return false;
  }
  rows.reserve(listed.size());
  for (std::size_t i = 0; i < listed.size() && i < tables.MemberTable.size(); ++i) {
    const archive::MemberRecord& record = tables.MemberTable[i];
    BrowseRow row{archive::ComparableName(record.Name), ArchiveColumnOf(listed[i]), record.Offset,
                  record.Length};
    row.Kind = KindOfArchive(row.Archive);
    rows.push_back(std::move(row));
  }
  return true;
}

bool MatchesFilter(std::string_view name, std::string_view filter) {
  if (filter.empty()) return true;
  std::string pattern;
  pattern.reserve(filter.size() + 2);
  pattern += '*';
  pattern += filter;
  pattern += '*';
  return MatchesWhole(name, pattern);
}

std::string FilterStatus(std::size_t shown, std::size_t all) {
  return std::to_string(shown) + " of " + std::to_string(all) + " members";
}

graphics::MemberLocation LocationOf(const Session& session, const BrowseRow& row) {
  return {session.DataFolder + row.Archive, row.Name, row.Offset, row.Length};
}

graphics::PaletteId PaletteOfRow(const BrowseRow& row) {
  return row.Kind == MemberKind::Palette ? graphics::PaletteForMember(row.Name)
                                         : graphics::PaletteForSprite(row.Name);
}

void ExtractBrowsedMembers(Session& session, const std::vector<BrowseRow>& rows) {
  std::vector<graphics::MemberToExtract> members;
  for (const BrowseRow& row : rows) {
    const auto archive = ExtractedArchiveOf(row.Kind);
    if (!archive) {
      session.Ui.ShowMessage(row.Name + " is a member of " + row.Archive +
                             ": only the members of SHP.PFP, TIL.PFP and PAL.PFP are extracted.");
      continue;
    }
    members.push_back({*archive, row.Name, row.Offset, row.Length});
  }
  // One change for the members of each archive, in the order of the archives.
  for (const auto archive : {graphics::MemberArchive::Shp, graphics::MemberArchive::Til,
                             graphics::MemberArchive::Pal}) {
    std::vector<graphics::MemberToExtract> ofArchive;
    for (const auto& member : members) {
      if (member.Archive == archive) ofArchive.push_back(member);
    }
    if (ofArchive.empty()) continue;
    graphics::ExtractMembers({session.DataFolder, session.ProgramFolder}, ofArchive,
                             {session.Extraction, session.Palettes, session.Picture}, session.Ui);
    if (session.Extraction.Stopped) return;
  }
}

void InsertOverBrowsedMember(Session& session, const BrowseRow& row) {
  std::string suggested = row.Name + ".SHP";
  if (const auto archive = ExtractedArchiveOf(row.Kind);
      archive && *archive != graphics::MemberArchive::Pal) {
    const std::string extracted =
        graphics::ExtractedSpritePath(session.DataFolder, *archive, row.Name);
    if (platform::FileExists(extracted)) suggested = extracted;
  }
  session.LastInsertion =
      archive::InsertShpFile(session.DataFolder, session.Index, session.Ui, suggested);
}

}  // namespace zorvane::app
