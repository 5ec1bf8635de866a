#include "archive/index_files.h"

#include <algorithm>

#include "archive/index_tables.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/little_endian.h"

namespace zorvane::archive {

std::uint64_t ArchiveIndexRecordCount(std::uint64_t length) {
  return length / kRecordSize;
}

std::uint64_t MemberIndexRecordCount(std::uint64_t length) {
  return length < kIndexHeaderSize ? 0 : (length - kIndexHeaderSize) / kRecordSize;
}

std::vector<ArchiveRecord> ParseArchiveIndex(std::span<const std::uint8_t> bytes) {
  std::vector<ArchiveRecord> records(ArchiveIndexRecordCount(bytes.size()));
  for (std::size_t r = 0; r < records.size(); ++r) {
    records[r] = DecodeArchiveRecord(bytes.data() + r * kRecordSize);
  }
  return records;
}

MemberIndex ParseMemberIndex(std::span<const std::uint8_t> bytes) {
  MemberIndex index;
  // A header cut short keeps the bytes that exist; the missing ones read as 0.
  std::uint8_t header[kIndexHeaderSize] = {};
  std::copy_n(bytes.begin(), std::min(bytes.size(), kIndexHeaderSize), header);
  index.Header = platform::ReadInt32(header);
  index.Records.resize(MemberIndexRecordCount(bytes.size()));
  index.Whole = bytes.size() == kIndexHeaderSize + index.Records.size() * kRecordSize;
  for (std::size_t r = 0; r < index.Records.size(); ++r) {
    index.Records[r] = DecodeMemberRecord(bytes.data() + kIndexHeaderSize + r * kRecordSize);
  }
  return index;
}

std::vector<std::uint8_t> SerialiseArchiveIndex(std::span<const ArchiveRecord> records) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(records.size() * kRecordSize);
  for (const auto& record : records) AppendRecord(bytes, record);
  return bytes;
}

std::vector<std::uint8_t> SerialiseMemberIndex(std::int32_t header,
                                               std::span<const MemberRecord> records) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kIndexHeaderSize + records.size() * kRecordSize);
  platform::AppendInt32(bytes, header);
  for (const auto& record : records) AppendRecord(bytes, record);
  return bytes;
}

std::string TooManyRecordsMessage(const std::string& path, int limit) {
  return "The file " + path + " holds more than " + std::to_string(limit) +
         " records, the most this tool can read. Nothing has been read from it.";
}

std::string TooManyArchivesMessage(const std::string& path, int limit) {
  return "The file " + path + " describes more than " + std::to_string(limit) +
         " archives, the most this tool can read. Nothing has been read from it.";
}

namespace {

// Reads an index file whose record count may not exceed `limit`, without reading past it.
platform::Result<platform::Bytes> ReadIndexBytes(const std::string& path, std::uint64_t limit,
                                                 std::uint64_t (*recordCount)(std::uint64_t)) {
  auto length = platform::FileLength(path);
  if (!length) return platform::Status::Failure(platform::CannotReadMessage(path, length.Reason()));
  if (recordCount(length.Value()) > limit) {
    return platform::Status::Failure(TooManyRecordsMessage(path, static_cast<int>(limit)));
  }
  auto bytes = platform::ReadWholeFile(path);
  if (!bytes) return platform::Status::Failure(platform::CannotReadMessage(path, bytes.Reason()));
  if (recordCount(bytes.Value().size()) > limit) {  // it grew in between
    return platform::Status::Failure(TooManyRecordsMessage(path, static_cast<int>(limit)));
  }
  return bytes;
}

}  // namespace

platform::Result<platform::Bytes> ReadArchiveIndexBytes(const std::string& path) {
  return ReadIndexBytes(path, kArchiveCapacity, ArchiveIndexRecordCount);
}

platform::Result<platform::Bytes> ReadMemberIndexBytes(const std::string& path) {
  return ReadIndexBytes(path, kMemberCapacity, MemberIndexRecordCount);
}

std::optional<std::vector<ArchiveRecord>> ReadArchiveIndexFile(const std::string& path,
                                                               platform::Ui& ui) {
  auto bytes = ReadArchiveIndexBytes(path);
  if (!bytes) {
    ui.ShowMessage(bytes.Reason());
    return std::nullopt;
  }
  return ParseArchiveIndex(bytes.Value());
}

std::optional<MemberIndex> ReadMemberIndexFile(const std::string& path, platform::Ui& ui) {
  auto bytes = ReadMemberIndexBytes(path);
  if (!bytes) {
    ui.ShowMessage(bytes.Reason());
    return std::nullopt;
  }
  return ParseMemberIndex(bytes.Value());
}

std::vector<int> GroupOfEachRecord(std::span<const MemberRecord> records) {
  std::vector<int> groups(records.size());
  int group = -1;
  for (std::size_t r = 0; r < records.size(); ++r) {
    if (records[r].Offset == 0) ++group;
    groups[r] = group;
  }
  return groups;
}

}  // namespace zorvane::archive
