#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/index_record.h"
#include "platform/ui.h"

// The complete all-archives view of PFPDATA.IDX that both unit-description commands work on.
// They read it from the file themselves, so that what they change does not depend on which
// archive the main window listed last.
namespace zorvane::unitdesc {

struct CompleteIndex {
  // Every record of PFPDATA.IDX in file order, NULs of the names replaced by spaces as the
  // all-archives listing leaves them.
  std::vector<archive::MemberRecord> MemberTable;
  // For each group start (record with Offset 0), in order, the raw name of its record.
  std::vector<archive::RecordName> ArchiveFirstMember;
  // Index of each group start in MemberTable.
  std::vector<std::size_t> GroupStarts;
};

// Reads DataFolder + "PFPDATA.IDX", which the caller has found to exist. Shows the message and
// returns nothing when it cannot be read or is over the limits of its format.
std::optional<CompleteIndex> ReadCompleteIndex(const std::string& dataFolder, platform::Ui& ui);

// The unit-description members: the records of the first archive from the first one named
// "0" (NULs removed, spaces trimmed) to the last one of that archive.
struct UnitMembers {
  std::size_t First = 0;  // index of member "0"
  std::size_t End = 0;    // one past the last member of the first archive
};

std::optional<UnitMembers> FindUnitMembers(std::span<const archive::MemberRecord> table);

}  // namespace zorvane::unitdesc
