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
  const archive::ArchiveChoice choice = SelectedArchiveChoice(session);
  std::optional<graphics::MemberToExtract> member;
  if (const auto archive = MemberArchiveOf(choice)) {
    const auto& table = archive::TableFor(session.Index, choice);
    // The list and its table are filled together; a row past the table names no member.
    if (static_cast<std::size_t>(row) >= table.size()) return;
    const archive::MemberRecord& record = table[static_cast<std::size_t>(row)];
    member = graphics::MemberToExtract{*archive, archive::ComparableName(record.Name),
                                       record.Offset, record.Length};
  }
  graphics::ExtractMember({session.DataFolder, session.ProgramFolder}, member,
                          {session.Extraction, session.Palettes, session.Picture}, session.Ui);
}

bool CheckPalettes(Session& session) {
  return graphics::CheckPalettes(session.ProgramFolder, session.Palettes, session.Ui);
}

}  // namespace zorvane::app
