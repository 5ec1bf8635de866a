#include "small_installation.h"

#include "archive/index_files.h"
#include "support/index_builder.h"

namespace zorvane::testing {

std::vector<archive::MemberRecord> SmallIndexRecords() {
  return {Member("README", 10, 0),    Member("credits", 7, 10), Member("MAINMENU", 8, 0),
          Member("ICONS", 5, 8, ' '), Member("BUTTONS", 7, 13), Member("CURSORS", 4, 20),
          Member("DAY", 12, 0),       Member("BUTTONS", 3, 12), Member("", 0, 0)};
}

std::vector<archive::ArchiveRecord> SmallArchiveRecords() {
  return {Archive("TXT", 0, 2), Archive("SHP", 2, 6), Archive("PAL", 6, 8, ' '),
          Archive("", 0x20202020, 0x20202020, ' ')};
}

void WriteSmallInstallation(const std::string& dataFolder) {
  WriteArchiveIndex(dataFolder + "EXT.IDX", SmallArchiveRecords());
  WriteFile(dataFolder + "PFPDATA.IDX", SmallIndexBytes(SmallIndexRecords()));
  WriteFile(dataFolder + "TXT.PFP", "readme1234credits");
  WriteFile(dataFolder + "SHP.PFP", "mainmenuiconsbuttonscurs");
  WriteFile(dataFolder + "PAL.PFP", "day-palette.btn");
}

std::vector<archive::MemberRecord> WithRecords(
    std::vector<archive::MemberRecord> records,
    const std::map<std::size_t, std::pair<std::int32_t, std::int32_t>>& changes) {
  for (const auto& [record, change] : changes) {
    records.at(record).Length = change.first;
    records.at(record).Offset = change.second;
  }
  return records;
}

Bytes SmallIndexBytes(const std::vector<archive::MemberRecord>& records) {
  return archive::SerialiseMemberIndex(kSmallIndexHeader, records);
}

}  // namespace zorvane::testing
