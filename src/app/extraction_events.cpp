#include "app/extraction_events.h"

#include <optional>

#include "app/main_window_events.h"
#include "archive/archive_choice.h"
#include "graphics/member_extraction.h"
#include "graphics/palette_export.h"

namespace zorvane::app {

namespace {

std::optional<graphics::MemberArchive> MemberArchiveOf(archive::ArchiveChoice choice) {
  switch (choice) {
    case archive::ArchiveChoice::ShpArchive:
      return graphics::MemberArchive::Shp;
    case archive::ArchiveChoice::TilArchive:
      return graphics::MemberArchive::Til;
    case archive::ArchiveChoice::PalArchive:
      return graphics::MemberArchive::Pal;
    case archive::ArchiveChoice::AllArchives:
    case archive::ArchiveChoice::None:
      break;
  }
  return std::nullopt;
}

}  // namespace

void ExtractMember(Session& session) {
  const int row = session.Window.ListIndex;
  if (row < 0 || static_cast<std::size_t>(row) >= session.Window.List1.size()) return;
  if (MemberArchiveOf(SelectedArchiveChoice(session))) {
    ExtractRows(session, {row});
    return;
  }
  graphics::ExtractMember({session.DataFolder, session.ProgramFolder}, std::nullopt,
                          {session.Extraction, session.Palettes, session.Picture}, session.Ui);
}

void ExtractRows(Session& session, const std::vector<int>& rows) {
  const archive::ArchiveChoice choice = SelectedArchiveChoice(session);
  const auto archive = MemberArchiveOf(choice);
  if (!archive) return;
  const auto& table = archive::TableFor(session.Index, choice);
  std::vector<graphics::MemberToExtract> members;
  for (const int row : rows) {
    // The list and its table are filled together; a row past the table names no member.
    if (row < 0 || static_cast<std::size_t>(row) >= table.size()) continue;
    const archive::MemberRecord& record = table[static_cast<std::size_t>(row)];
    members.push_back({*archive, archive::ComparableName(record.Name), record.Offset,
                       record.Length});
  }
  if (members.empty()) return;
  graphics::ExtractMembers({session.DataFolder, session.ProgramFolder}, members,
                           {session.Extraction, session.Palettes, session.Picture}, session.Ui);
}

bool CheckPalettes(Session& session) {
  return graphics::CheckPalettes(session.ProgramFolder, session.Palettes, session.Ui);
}

}  // namespace zorvane::app
