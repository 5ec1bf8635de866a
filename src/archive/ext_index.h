#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "archive/index_tables.h"
#include "platform/ui.h"

namespace zorvane::archive {

// Reloads ArchiveTable and ArchiveLast from DataFolder + "EXT.IDX". A missing file gets the
// message that sends the user to the Setup menu and leaves the table as it was. Returns whether
// the file was loaded. Refreshing the member list afterwards is the caller's part.
bool LoadArchiveTable(const std::string& dataFolder, IndexTables& tables, platform::Ui& ui);

// Stores the records of an EXT.IDX into the tables: entry 0 is set even for an empty file
// (all zero then), entries past the file's records keep what they held.
void StoreArchiveRecords(const std::vector<ArchiveRecord>& records, IndexTables& tables);

// Whether an archive name of EXT.IDX names a file of the DATA folder: not empty, no separator.
bool NamesAFileOfTheFolder(std::string_view archiveName);

// The name of the first of `archives` called `name` without regard to case, other than the
// archive `except`; the names are compared as a listing shows them (NULs as blanks, trimmed).
std::optional<std::string> ArchiveNamed(std::span<const ArchiveRecord> archives,
                                        std::string_view name, std::string_view except = {});

// "Cannot locate " + path + " - you'll have to set up the folders again."
std::string CannotLocateMessage(const std::string& path);

}  // namespace zorvane::archive
