#include "archive/ext_index.h"

#include <algorithm>

#include "archive/index_files.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace zorvane::archive {

std::string CannotLocateMessage(const std::string& path) {
  return "Cannot locate " + path + " - you'll have to set up the folders again.";
}

void StoreArchiveRecords(const std::vector<ArchiveRecord>& records, IndexTables& tables) {
  const std::size_t used = std::max<std::size_t>(records.size(), 1);
  if (tables.ArchiveTable.size() < used) tables.ArchiveTable.resize(used);
  // The first record is read before the end of the file is tested: an empty file still sets
  // entry 0, to a record of nothing.
  tables.ArchiveTable[0] = ArchiveRecord{};
  std::copy(records.begin(), records.end(), tables.ArchiveTable.begin());
  tables.ArchiveLast = static_cast<std::int16_t>(used - 1);
}

bool LoadArchiveTable(const std::string& dataFolder, IndexTables& tables, platform::Ui& ui) {
  const std::string path = dataFolder + kArchiveIndexName;
  if (!platform::FileExists(path)) {
    ui.ShowMessage(CannotLocateMessage(path));
    return false;
  }
  auto records = ReadArchiveIndexFile(path, ui);
  if (!records) return false;
  StoreArchiveRecords(*records, tables);
  return true;
}

bool NamesAFileOfTheFolder(std::string_view archiveName) {
  return !archiveName.empty() && archiveName.find_first_of("/\\") == std::string_view::npos;
}

std::optional<std::string> ArchiveNamed(std::span<const ArchiveRecord> archives,
                                        std::string_view name, std::string_view except) {
  for (ArchiveRecord record : archives) {
    NormaliseName(record.Name);
    std::string listed = ComparableName(record.Name);
    if (listed != except && platform::EqualIgnoringCase(listed, name)) return listed;
  }
  return std::nullopt;
}

}  // namespace zorvane::archive
