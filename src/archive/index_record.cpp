#include "archive/index_record.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"
#include "platform/number_text.h"

namespace zorvane::archive {

namespace {

RecordName DecodeName(const std::uint8_t* bytes) {
  RecordName name;
  std::memcpy(name.data(), bytes, kNameLength);
  return name;
}

void AppendRawRecord(std::vector<std::uint8_t>& out, const RecordName& name, std::int32_t first,
                     std::int32_t second) {
  out.insert(out.end(), name.begin(), name.end());
  platform::AppendInt32(out, first);
  platform::AppendInt32(out, second);
}

}  // namespace

MemberRecord DecodeMemberRecord(const std::uint8_t* bytes) {
  return {DecodeName(bytes), platform::ReadInt32(bytes + 8), platform::ReadInt32(bytes + 12)};
}

ArchiveRecord DecodeArchiveRecord(const std::uint8_t* bytes) {
  return {DecodeName(bytes), platform::ReadInt32(bytes + 8), platform::ReadInt32(bytes + 12)};
}

void AppendRecord(std::vector<std::uint8_t>& out, const MemberRecord& record) {
  AppendRawRecord(out, record.Name, record.Length, record.Offset);
}

void AppendRecord(std::vector<std::uint8_t>& out, const ArchiveRecord& record) {
  AppendRawRecord(out, record.Name, record.FirstMember, record.EndMember);
}

std::string_view NameBytes(const RecordName& name) {
  return std::string_view(name.data(), name.size());
}

std::string WithoutNuls(const RecordName& name) {
  std::string text;
  for (char c : name) {
    if (c != '\0') text.push_back(c);
  }
  return text;
}

std::string ComparableName(const RecordName& name) {
  return std::string(platform::TrimSpaces(WithoutNuls(name)));
}

RecordName MakeName(std::string_view text, char pad) {
  RecordName name;
  name.fill(pad);
  std::copy_n(text.begin(), std::min(text.size(), kNameLength), name.begin());
  return name;
}

void NormaliseName(RecordName& name) {
  name = MakeName(WithoutNuls(name));
}

void ReplaceNulsBySpaces(RecordName& name) {
  std::replace(name.begin(), name.end(), '\0', ' ');
}

}  // namespace zorvane::archive
