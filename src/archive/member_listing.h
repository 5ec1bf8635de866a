#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_choice.h"
#include "archive/index_tables.h"
#include "platform/ui.h"

namespace zorvane::archive {

// One row of the member list: the 8-character name, four spaces, the archive column, then
// offset and length right-aligned in 15 characters each with a sign position.
std::string MemberRow(const RecordName& name, std::string_view archiveColumn, std::int32_t offset,
                      std::int32_t length);

// The rows of the member list and its tooltip.
struct MemberList {
  std::vector<std::string>& Rows;
  std::string& ToolTip;
};

// Reads DataFolder + "PFPDATA.IDX" and lists the members of all archives or of the chosen
// archive: fills `list` and the choice's table (row r of the list is entry r of the table),
// sets IndexHeader, ArchiveFirstMember and LastRow, and normalises the names it passes in
// ArchiveTable as the listing goes. A missing or unreadable index gets its message; the list is
// then empty and the tables keep their content. Returns whether the index was listed.
bool ListArchiveMembers(const std::string& dataFolder, ArchiveChoice choice, IndexTables& tables,
                        MemberList list, platform::Ui& ui);

}  // namespace zorvane::archive
