#pragma once

#include <string>

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

// "Cannot locate " + path + " - you'll have to set up the folders again."
std::string CannotLocateMessage(const std::string& path);

}  // namespace zorvane::archive
