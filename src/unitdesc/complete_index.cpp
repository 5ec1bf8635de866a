#include "unitdesc/complete_index.h"

#include "archive/index_files.h"
#include "archive/index_tables.h"

namespace zorvane::unitdesc {

std::optional<CompleteIndex> ReadCompleteIndex(const std::string& dataFolder, platform::Ui& ui) {
  const std::string path = dataFolder + archive::kMemberIndexName;
  auto index = archive::ReadMemberIndexFile(path, ui);
  if (!index) return std::nullopt;
  CompleteIndex complete;
  complete.MemberTable = std::move(index->Records);
  for (std::size_t r = 0; r < complete.MemberTable.size(); ++r) {
    archive::MemberRecord& record = complete.MemberTable[r];
    if (record.Offset == 0) {
      complete.GroupStarts.push_back(r);
      complete.ArchiveFirstMember.push_back(record.Name);
    }
    archive::ReplaceNulsBySpaces(record.Name);
  }
  if (complete.GroupStarts.size() > static_cast<std::size_t>(archive::kGroupCapacity)) {
    ui.ShowMessage(archive::TooManyArchivesMessage(path, archive::kGroupCapacity));
    return std::nullopt;
  }
  return complete;
}

std::optional<UnitMembers> FindUnitMembers(std::span<const archive::MemberRecord> table) {
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (archive::ComparableName(table[r].Name) == "0") {
      UnitMembers members{r, r + 1};
      while (members.End < table.size() && table[members.End].Offset != 0) ++members.End;
      return members;
    }
    // The next record opens the second archive: the first one has no member "0".
    if (r + 1 < table.size() && table[r + 1].Offset == 0) break;
  }
  return std::nullopt;
}

}  // namespace zorvane::unitdesc
