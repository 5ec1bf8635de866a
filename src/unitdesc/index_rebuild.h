#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "archive/index_record.h"
#include "platform/result.h"
#include "unitdesc/complete_index.h"
#include "unitdesc/unit_index_file.h"

// The new PFPDATA.IDX and EXT.IDX records of a unit-description insertion, and every check of
// the installation that must pass before a file is touched.
namespace zorvane::unitdesc {

// FirstMember and EndMember of the end record of EXT.IDX: the bytes of four spaces.
inline constexpr std::int32_t kEndRecordNumber = 0x20202020;

struct InstallationToChange {
  const CompleteIndex& Index;                        // PFPDATA.IDX as read
  std::span<const archive::ArchiveRecord> Archives;  // EXT.IDX as read
  std::uint64_t TextLength;                          // of TXT.PFP
  std::string DataFolder;                            // for the messages
};

struct RebuiltIndex {
  // The new PFPDATA.IDX records: the members of TXT.PFP before member "0", one per unit record
  // with offsets following from the lengths, then every record from AUDIO on. Names padded
  // with spaces, NULs gone.
  std::vector<archive::MemberRecord> RewriteTable;
  // The new EXT.IDX records, EndMember chained to the next FirstMember, the end record holding
  // four spaces in both.
  std::vector<archive::ArchiveRecord> ArchiveTable;
  // How many bytes at the start of TXT.PFP stay: the members before member "0".
  std::uint64_t TextKept = 0;
  // The sum of the unit records' lengths: the text that follows must hold at least this much.
  std::int64_t UnitLengths = 0;
};

// Builds the new records for `units`, or gives the message that refuses the insertion: no
// member "0" in the first archive, no AUDIO opening the second archive, archives of the two
// index files that do not agree or could not be found again by the names of their first
// members, a limit of the formats exceeded.
platform::Result<RebuiltIndex> RebuildIndex(const InstallationToChange& installation,
                                            std::span<const UnitRecord> units);

}  // namespace zorvane::unitdesc
