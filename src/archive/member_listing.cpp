#include "archive/member_listing.h"

#include <algorithm>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "platform/file_system.h"
#include "platform/number_text.h"

namespace zorvane::archive {

namespace {

constexpr std::size_t kNumberWidth = 15;
constexpr std::string_view kGap = "    ";

// A group start, for group counter j: the archive's name loses its NULs and is stored back
// space-padded; the record's raw name is kept for finding the group again. Returns the
// archive column of the group's rows.
std::string StartGroup(IndexTables& tables, int j, const RecordName& firstName) {
  if (j >= kGroupCapacity) return ".PFP";
  if (tables.ArchiveTable.size() <= static_cast<std::size_t>(j)) tables.ArchiveTable.resize(j + 1);
  RecordName& archiveName = tables.ArchiveTable[j].Name;
  const std::string column = WithoutNuls(archiveName) + ".PFP";
  NormaliseName(archiveName);
  if (tables.ArchiveFirstMember.size() <= static_cast<std::size_t>(j)) {
    tables.ArchiveFirstMember.resize(j + 1);
  }
  tables.ArchiveFirstMember[j] = firstName;
  return column;
}

int CountGroupStarts(const std::vector<MemberRecord>& records) {
  return static_cast<int>(std::count_if(records.begin(), records.end(),
                                        [](const MemberRecord& r) { return r.Offset == 0; }));
}

std::vector<MemberRecord> ListAllArchives(std::vector<MemberRecord> records, IndexTables& tables,
                                          std::vector<std::string>& rows) {
  rows.reserve(records.size());
  std::string column;
  int j = 0;
  for (MemberRecord& record : records) {
    if (record.Offset == 0) column = StartGroup(tables, j++, record.Name);
    ReplaceNulsBySpaces(record.Name);
    rows.push_back(MemberRow(record.Name, column, record.Offset, record.Length));
  }
  return records;
}

std::vector<MemberRecord> ListOneArchive(const std::vector<MemberRecord>& records,
                                         std::string_view baseName, IndexTables& tables,
                                         std::vector<std::string>& rows) {
  int j = 0;
  std::int32_t first = 0;
  if (tables.ArchiveTable.size() <= static_cast<std::size_t>(tables.ArchiveLast)) {
    tables.ArchiveTable.resize(tables.ArchiveLast + 1);
  }
  for (int k = 0; k <= tables.ArchiveLast; ++k) {
    ArchiveRecord& archive = tables.ArchiveTable[k];
    NormaliseName(archive.Name);
    if (ComparableName(archive.Name) == baseName) {
      j = k;
      first = archive.FirstMember;
    }
  }
  std::vector<MemberRecord> listed;
  if (first < 0) return listed;  // a record number before the file's start names nothing
  std::string column;
  for (std::size_t r = static_cast<std::size_t>(first); r < records.size(); ++r) {
    MemberRecord record = records[r];
    if (record.Offset == 0) {
      column = StartGroup(tables, j++, record.Name);
      if (!listed.empty()) break;  // this record opens the next archive
    }
    NormaliseName(record.Name);
    rows.push_back(MemberRow(record.Name, column, record.Offset, record.Length));
    listed.push_back(record);
  }
  return listed;
}

}  // namespace

std::string MemberRow(const RecordName& name, std::string_view archiveColumn, std::int32_t offset,
                      std::int32_t length) {
  std::string row;
  row.reserve(kNameLength + kGap.size() + archiveColumn.size() + 2 * kNumberWidth);
  row.append(name.data(), kNameLength);
  std::replace(row.begin(), row.end(), '\0', ' ');
  row += kGap;
  row += archiveColumn;
  row += platform::RightAligned(platform::SignedNumberText(offset), kNumberWidth);
  row += platform::RightAligned(platform::SignedNumberText(length), kNumberWidth);
  return row;
}

bool ListArchiveMembers(const std::string& dataFolder, ArchiveChoice choice, IndexTables& tables,
                        MemberList list, platform::Ui& ui) {
  list.Rows.clear();
  const std::string path = dataFolder + kMemberIndexName;
  if (!platform::FileExists(path)) {
    ui.ShowMessage(CannotLocateMessage(path));
    return false;
  }
  auto index = ReadMemberIndexFile(path, ui);
  if (!index) return false;
  if (choice == ArchiveChoice::AllArchives && CountGroupStarts(index->Records) > kGroupCapacity) {
    ui.ShowMessage(TooManyArchivesMessage(path, kGroupCapacity));
    return false;
  }
  tables.IndexHeader = index->Header;
  const ArchiveChoiceTexts& texts = TextsFor(choice);
  switch (choice) {
    case ArchiveChoice::AllArchives:
      list.ToolTip = texts.ToolTip;
      tables.MemberTable = ListAllArchives(std::move(index->Records), tables, list.Rows);
      break;
    case ArchiveChoice::ShpArchive:
    case ArchiveChoice::TilArchive:
    case ArchiveChoice::PalArchive:
      list.ToolTip = texts.ToolTip;
      TableFor(tables, choice) = ListOneArchive(index->Records, texts.BaseName, tables, list.Rows);
      break;
    case ArchiveChoice::None:
      break;
  }
  tables.LastRow = static_cast<std::int32_t>(list.Rows.size()) - 1;
  return true;
}

}  // namespace zorvane::archive
