#pragma once

#include <cstdint>
#include <vector>

#include "archive/index_record.h"

namespace zorvane::archive {

// The most records and groups the index files may hold. The tables grow as needed; these are
// limits of the file formats, and a file over them is refused.
inline constexpr int kArchiveCapacity = 256;
inline constexpr int kMemberCapacity = 32767;
inline constexpr int kGroupCapacity = 256;

// The index state of one session: the records of EXT.IDX and PFPDATA.IDX as last read.
struct IndexTables {
  // The records of EXT.IDX in file order. A shorter EXT.IDX loaded later overwrites only its
  // own entries.
  std::vector<ArchiveRecord> ArchiveTable;
  // Index of the last ArchiveTable entry read (record count - 1; 0 for an empty file).
  std::int16_t ArchiveLast = 0;
  // The records of PFPDATA.IDX in file order, as the all-archives listing read them.
  std::vector<MemberRecord> MemberTable;
  // The records listed for the SHP.PFP, TIL.PFP and PAL.PFP choices, by list row.
  std::vector<MemberRecord> ShpMembers;
  std::vector<MemberRecord> TilMembers;
  std::vector<MemberRecord> PalMembers;
  // The new PFPDATA.IDX records while a rewrite is built.
  std::vector<MemberRecord> RewriteTable;
  // For the j-th group start met by a listing, the raw name (NULs included) of its first
  // record.
  std::vector<RecordName> ArchiveFirstMember;
  // The first 4 bytes of PFPDATA.IDX as last read.
  std::int32_t IndexHeader = 0;
  // After a listing: rows listed - 1.
  std::int32_t LastRow = 0;
};

}  // namespace zorvane::archive
