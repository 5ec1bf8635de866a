#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "archive/index_record.h"

// The arithmetic of replacing one archive member: which member a file replaces, which bytes of
// the old archive the new one keeps, and the index records that describe it. Nothing here
// touches a file, so every index, however odd, can be tried on it.
namespace zorvane::archive {

// The name of the member that a chosen file replaces: the characters of its path after the last
// separator and before the last point, in upper case (the extension itself is not looked at).
// Nothing when the file name has no point, be it that the path has none or that its last point
// lies in a folder name.
std::optional<std::string> InsertionBaseName(std::string_view path);

struct MemberMatch {
  std::size_t Record = 0;  // the record in PFPDATA.IDX
  int Group = 0;           // its archive's record in EXT.IDX; -1 before the first group start
};

// The first record in index order whose name, NULs removed and spaces trimmed, equals
// `baseName` trimmed (case-sensitive). The last record, the terminator, is never looked at. The
// names of the records passed are stored back without NULs, padded with spaces, as the listing
// does with the names it passes.
std::optional<MemberMatch> FindMemberToReplace(std::vector<MemberRecord>& memberTable,
                                               std::string_view baseName);

// How the new archive is put together: the first LeadingLength bytes of the old archive, the
// whole chosen file, then TailLength bytes of the old archive from TailOffset (none when the
// member was the last of its archive). Records is the new PFPDATA.IDX.
struct InsertionPlan {
  std::uint64_t LeadingLength = 0;
  std::uint64_t TailOffset = 0;
  std::uint64_t TailLength = 0;
  std::vector<MemberRecord> Records;
};

enum class PlanFault {
  // The new content is empty: a member of 0 bytes would give the next one the Offset of the
  // member, which may be 0, the mark of another archive's start.
  EmptyContent,
  // The index places the member, or the members after it, outside the archive or out of order.
  IndexDoesNotMatchArchive,
  // A length or offset of the new index would not fit its signed 32-bit field.
  TooLarge,
};

// Plans the replacement of `records[record]` (not the terminator) by `newLength` bytes in an
// archive of `archiveLength` bytes. The member keeps its Offset and takes the new length; the
// later members of its archive move by the change in size; every other record, names included,
// stays as read, and the terminator gets Offset 0.
std::variant<InsertionPlan, PlanFault> PlanInsertion(std::span<const MemberRecord> records,
                                                     std::size_t record,
                                                     std::uint64_t archiveLength,
                                                     std::uint64_t newLength);

}  // namespace zorvane::archive
