#include "unitdesc/unit_index_file.h"

namespace zorvane::unitdesc {

std::vector<std::uint8_t> SerialiseUnitIndex(std::span<const UnitRecord> records) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(records.size() * archive::kRecordSize);
  for (const UnitRecord& record : records) archive::AppendRecord(bytes, record);
  return bytes;
}

std::optional<std::vector<UnitRecord>> ParseUnitIndex(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() % archive::kRecordSize != 0) return std::nullopt;
  const std::size_t count = bytes.size() / archive::kRecordSize;
  if (count > kUnitRecordCapacity) return std::nullopt;
  std::vector<UnitRecord> records(count);
  for (std::size_t r = 0; r < count; ++r) {
    records[r] = archive::DecodeMemberRecord(bytes.data() + r * archive::kRecordSize);
    if (records[r].Length < 0) return std::nullopt;
  }
  return records;
}

}  // namespace zorvane::unitdesc
