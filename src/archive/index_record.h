#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The one 16-byte record of both index files: an 8-byte name and two signed 32-bit
// little-endian numbers.
namespace zorvane::archive {

inline constexpr std::size_t kNameLength = 8;
inline constexpr std::size_t kRecordSize = 16;
inline constexpr std::size_t kIndexHeaderSize = 4;

using RecordName = std::array<char, kNameLength>;

// A record of PFPDATA.IDX: one member of an archive.
struct MemberRecord {
  RecordName Name{};
  std::int32_t Length = 0;
  std::int32_t Offset = 0;
  bool operator==(const MemberRecord&) const = default;
};

// A record of EXT.IDX: one archive and the range of its records in PFPDATA.IDX.
struct ArchiveRecord {
  RecordName Name{};
  std::int32_t FirstMember = 0;
  std::int32_t EndMember = 0;
  bool operator==(const ArchiveRecord&) const = default;
};

MemberRecord DecodeMemberRecord(const std::uint8_t* bytes);
ArchiveRecord DecodeArchiveRecord(const std::uint8_t* bytes);
void AppendRecord(std::vector<std::uint8_t>& out, const MemberRecord& record);
void AppendRecord(std::vector<std::uint8_t>& out, const ArchiveRecord& record);

// Name rules. A name from an index file is compared after its NUL characters are removed and
// spaces trimmed.
std::string_view NameBytes(const RecordName& name);  // all 8 characters as stored
std::string WithoutNuls(const RecordName& name);     // NULs removed, not trimmed
std::string ComparableName(const RecordName& name);  // NULs removed, spaces trimmed
// The first 8 characters of `text`, padded with `pad` to 8.
RecordName MakeName(std::string_view text, char pad = ' ');
// NULs removed and the result stored back padded with spaces.
void NormaliseName(RecordName& name);
// Every NUL replaced by a space, in place.
void ReplaceNulsBySpaces(RecordName& name);

}  // namespace zorvane::archive
