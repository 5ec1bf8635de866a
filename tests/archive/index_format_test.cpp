#include <gtest/gtest.h>

#include "archive/index_files.h"
#include "archive/index_record.h"
#include "support/files.h"
#include "support/index_builder.h"

namespace zorvane::archive {
namespace {

using testing::Archive;
using testing::Member;

TEST(IndexRecord, IsSixteenLittleEndianBytes) {
  std::vector<std::uint8_t> bytes;
  AppendRecord(bytes, MemberRecord{MakeName("DAY", '\0'), 1024, -2});
  AppendRecord(bytes, ArchiveRecord{MakeName("SHP", ' '), 0x01020304, 0x20202020});
  const std::vector<std::uint8_t> expected{
      'D', 'A', 'Y', 0,   0,   0,   0,   0,   0x00, 0x04, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF,
      'S', 'H', 'P', ' ', ' ', ' ', ' ', ' ', 0x04, 0x03, 0x02, 0x01, 0x20, 0x20, 0x20, 0x20};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(DecodeMemberRecord(bytes.data()), (MemberRecord{MakeName("DAY", '\0'), 1024, -2}));
  EXPECT_EQ(DecodeArchiveRecord(bytes.data() + 16),
            (ArchiveRecord{MakeName("SHP", ' '), 0x01020304, 0x20202020}));
}

TEST(RecordName, NulsAndSpacesCompareEqual) {
  EXPECT_EQ(ComparableName(MakeName("SHP", '\0')), "SHP");
  EXPECT_EQ(ComparableName(MakeName("SHP", ' ')), "SHP");
  EXPECT_EQ(ComparableName(MakeName("MAINMENU")), "MAINMENU");
  EXPECT_EQ(ComparableName(MakeName("TOOLONGNAME")), "TOOLONGN");
  // Case counts.
  EXPECT_NE(ComparableName(MakeName("shp")), "SHP");
}

TEST(RecordName, NormalisingRemovesNulsReplacingKeepsTheirPlaces) {
  const RecordName withInnerNul{'A', 'B', '\0', 'C', 'D', '\0', '\0', '\0'};
  RecordName normalised = withInnerNul;
  NormaliseName(normalised);
  EXPECT_EQ(NameBytes(normalised), "ABCD    ");
  RecordName replaced = withInnerNul;
  ReplaceNulsBySpaces(replaced);
  EXPECT_EQ(NameBytes(replaced), "AB CD   ");
  EXPECT_EQ(WithoutNuls(withInnerNul), "ABCD");
}

class ArchiveIndexLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ArchiveIndexLength, HoldsOnlyWholeRecords) {
  const std::vector<std::uint8_t> bytes(GetParam(), 0x41);
  EXPECT_EQ(ParseArchiveIndex(bytes).size(), GetParam() / 16);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ArchiveIndexLength, ::testing::Values(0, 5, 15, 16, 31, 32, 160));

class MemberIndexLength : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MemberIndexLength, NeverTakesTheHeaderForARecord) {
  const std::vector<std::uint8_t> bytes(GetParam(), 0x41);
  const std::size_t expected = GetParam() < 4 ? 0 : (GetParam() - 4) / 16;
  EXPECT_EQ(ParseMemberIndex(bytes).Records.size(), expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MemberIndexLength,
                         ::testing::Values(0, 3, 4, 19, 20, 35, 36, 4 + 16 * 100));

TEST(MemberIndex, ReadsTheHeaderThenTheRecords) {
  const std::vector<MemberRecord> records{Member("A", 10, 0), Member("B", 5, 10), Member("", 0, 0)};
  const auto bytes = SerialiseMemberIndex(-123456, records);
  ASSERT_EQ(bytes.size(), 4u + 16 * 3);
  const MemberIndex index = ParseMemberIndex(bytes);
  EXPECT_EQ(index.Header, -123456);
  EXPECT_EQ(index.Records, records);
}

TEST(MemberIndex, AShortHeaderKeepsTheBytesThatExist) {
  EXPECT_EQ(ParseMemberIndex(std::vector<std::uint8_t>{0x01, 0x02}).Header, 0x0201);
}

TEST(MemberIndex, TheGroupOfARecordFollowsFromItsPosition) {
  // Archive 0: A, B; archive 1: C, D, E; archive 2: F; then the terminator.
  const std::vector<MemberRecord> records{Member("A", 5, 0), Member("B", 5, 5), Member("C", 3, 0),
                                          Member("D", 3, 3), Member("E", 3, 6), Member("F", 9, 0),
                                          Member("", 0, 0)};
  EXPECT_EQ(GroupOfEachRecord(records), (std::vector<int>{0, 0, 1, 1, 1, 2, 3}));
}

}  // namespace
}  // namespace zorvane::archive
