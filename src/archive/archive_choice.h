#pragma once

#include <string_view>
#include <vector>

#include "archive/index_tables.h"

namespace zorvane::archive {

// What the member list shows: all archives, or one of the three archives of graphics.
enum class ArchiveChoice { None, AllArchives, ShpArchive, TilArchive, PalArchive };

// The texts that go with each choice: the captions above the list, the list's tooltip, and the
// base name of the archive listed (empty for all archives).
struct ArchiveChoiceTexts {
  std::string_view Title;     // Label1
  std::string_view Hint;      // Label3
  std::string_view ToolTip;   // List1
  std::string_view BaseName;  // "SHP", "TIL", "PAL"
};

const ArchiveChoiceTexts& TextsFor(ArchiveChoice choice);

// The table whose entry r is row r of the list for this choice (MemberTable for all archives).
std::vector<MemberRecord>& TableFor(IndexTables& tables, ArchiveChoice choice);

inline constexpr std::string_view kMemberListHeader =
    "Filename    Located in    Offset in *.PFP  FileLength";

}  // namespace zorvane::archive
