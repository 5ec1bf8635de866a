#include "tiny_installation.h"

#include <gtest/gtest.h>

#include "support/file_operation_name.h"
#include "support/index_builder.h"

namespace zorvane::unitdesc::test {

Bytes RecordBytes(std::string_view name, std::int32_t first, std::int32_t second) {
  Bytes bytes(name.begin(), name.end());
  bytes.resize(8, 0);
  for (const std::int32_t number : {first, second}) {
    const auto bits = static_cast<std::uint32_t>(number);
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
  }
  return bytes;
}

Bytes HeaderBytes(std::int32_t header) {
  Bytes bytes = RecordBytes("", header, 0);
  return Bytes(bytes.begin() + 8, bytes.begin() + 12);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<TinyArchive> TinyArchives() {
  return {
      {"TXT",
       {{"INTRO", "Hello\r\nWorld\r\n"}, {"0", "Unit zero\r\n"}, {"1", "Unit one\r\nline2\r\n"}}},
      {"SND", {{"AUDIO", std::string(100, 'a'), ' '}, {"BEEP", std::string(50, 'b')}}},
      {"SHP", {{"MAIN", std::string(300, 'm')}}}};
}

void WriteInstallation(const std::string& dataFolder, const std::vector<TinyArchive>& archives) {
  std::vector<archive::MemberRecord> members;
  std::vector<archive::ArchiveRecord> records;
  for (const TinyArchive& archive : archives) {
    const auto first = static_cast<std::int32_t>(members.size());
    if (!records.empty()) records.back().EndMember = first;
    records.push_back(testing::Archive(archive.Name, first));
    std::string content;
    for (const TinyMember& member : archive.Members) {
      members.push_back(testing::Member(member.Name,
                                        static_cast<std::int32_t>(member.Content.size()),
                                        static_cast<std::int32_t>(content.size()), member.Pad));
      content += member.Content;
    }
    testing::WriteFile(dataFolder + archive.Name + ".PFP", content);
  }
  records.back().EndMember = static_cast<std::int32_t>(members.size());
  members.push_back(testing::Member("", 0, 0));
  records.push_back(testing::Archive("", 0x20202020, 0x20202020));
  testing::WriteMemberIndex(dataFolder + "PFPDATA.IDX", kTinyHeader, members);
  testing::WriteArchiveIndex(dataFolder + "EXT.IDX", records);
}

void WriteExtract(const std::string& folder, std::string_view text,
                  const std::vector<TinyUnit>& units) {
  testing::WriteFile(folder + "UnitDescriptions.KRT", text);
  Bytes index;
  std::int64_t offset = 0;  // the insertion does not read it; past 2^31 it is stored wrapped
  for (const TinyUnit& unit : units) {
    const Bytes record = RecordBytes(unit.Name + std::string(8 - unit.Name.size(), ' '),
                                     unit.Length, static_cast<std::int32_t>(offset));
    index.insert(index.end(), record.begin(), record.end());
    offset += unit.Length;
  }
  testing::WriteFile(folder + "UnitIDX.KRT", index);
}

std::string OperationName(const ::testing::TestParamInfo<platform::FileOperation>& info) {
  return testing::FileOperationName(info.param);
}

int FailEachOperationInTurn(platform::FileOperation operation, const std::function<bool()>& attempt,
                            const std::function<void(int n)>& checkFailure) {
  int failures = 0;
  for (int n = 1;; ++n) {
    platform::FaultInjection::Reset();
    platform::FaultInjection::FailAt(operation, n, "Injected fault");
    if (attempt()) return failures;
    ++failures;
    checkFailure(n);
    if (::testing::Test::HasFatalFailure()) return failures;
  }
}

}  // namespace zorvane::unitdesc::test
