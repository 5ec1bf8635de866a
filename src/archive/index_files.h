#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/index_record.h"
#include "platform/file_system.h"
#include "platform/result.h"
#include "platform/ui.h"

// Reading and writing EXT.IDX and PFPDATA.IDX. The parsers take bytes, so that they serve the
// workers, the tests and the fuzz targets alike; a short last record is ignored.
namespace zorvane::archive {

inline constexpr char kMemberIndexName[] = "PFPDATA.IDX";
inline constexpr char kArchiveIndexName[] = "EXT.IDX";

struct MemberIndex {
  std::int32_t Header = 0;
  std::vector<MemberRecord> Records;
  // Whether the file ended after its last whole record: a file that does not cannot be
  // rewritten from its records without losing its last bytes.
  bool Whole = true;
};

std::vector<ArchiveRecord> ParseArchiveIndex(std::span<const std::uint8_t> bytes);
MemberIndex ParseMemberIndex(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> SerialiseArchiveIndex(std::span<const ArchiveRecord> records);
std::vector<std::uint8_t> SerialiseMemberIndex(std::int32_t header,
                                               std::span<const MemberRecord> records);

// Number of whole records in an index file of `length` bytes.
std::uint64_t ArchiveIndexRecordCount(std::uint64_t length);
std::uint64_t MemberIndexRecordCount(std::uint64_t length);

// The message for an index file over a limit of its format.
std::string TooManyRecordsMessage(const std::string& path, int limit);
std::string TooManyArchivesMessage(const std::string& path, int limit);

// Reads DataFolder + "EXT.IDX" or DataFolder + "PFPDATA.IDX" for a worker: shows the message
// and returns nothing when the file cannot be read or holds more records than its limit. The
// caller tests the file's existence first (each has its own message for a missing file).
std::optional<std::vector<ArchiveRecord>> ReadArchiveIndexFile(const std::string& path,
                                                               platform::Ui& ui);
std::optional<MemberIndex> ReadMemberIndexFile(const std::string& path, platform::Ui& ui);
// The same bytes for a caller that reports on its own: the reason is the message the two
// functions above show.
platform::Result<platform::Bytes> ReadArchiveIndexBytes(const std::string& path);
platform::Result<platform::Bytes> ReadMemberIndexBytes(const std::string& path);

// Index (0-based) of the group that each record opens or belongs to: the number of records
// with Offset 0 up to and including it, minus one (-1 before the first group start).
std::vector<int> GroupOfEachRecord(std::span<const MemberRecord> records);

}  // namespace zorvane::archive
