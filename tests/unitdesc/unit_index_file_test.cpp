#include <gtest/gtest.h>

#include "tiny_installation.h"
#include "unitdesc/unit_index_file.h"

namespace zorvane::unitdesc {
namespace {

using test::Bytes;
using test::Concat;
using test::RecordBytes;

TEST(UnitIndexFile, RecordsAreNameLengthOffsetLittleEndian) {
  const std::vector<UnitRecord> records{{archive::MakeName("0"), 11, 0},
                                        {archive::MakeName("MARINES8"), 0x01020304, 11}};
  const Bytes expected =
      Concat({RecordBytes("0       ", 11, 0), RecordBytes("MARINES8", 0x01020304, 11)});
  EXPECT_EQ(SerialiseUnitIndex(records), expected);
  EXPECT_EQ(expected[24], 0x04);  // the low byte of the length comes first
  const auto parsed = ParseUnitIndex(expected);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, records);
}

TEST(UnitIndexFile, TheMostRecordsAnExtractMayHoldAreRead) {
  Bytes bytes;
  for (std::size_t r = 0; r < kUnitRecordCapacity; ++r) {
    const Bytes record = RecordBytes("U       ", static_cast<std::int32_t>(r), 0);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  const auto parsed = ParseUnitIndex(bytes);
  ASSERT_TRUE(parsed);
  ASSERT_EQ(parsed->size(), kUnitRecordCapacity);
  EXPECT_EQ(parsed->back().Length, 32766);
  const Bytes oneMore = RecordBytes("U       ", 1, 0);
  bytes.insert(bytes.end(), oneMore.begin(), oneMore.end());
  EXPECT_FALSE(ParseUnitIndex(bytes));
}

class UnusableUnitIndex : public ::testing::TestWithParam<Bytes> {};

TEST_P(UnusableUnitIndex, IsRefused) {
  EXPECT_FALSE(ParseUnitIndex(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, UnusableUnitIndex,
    ::testing::Values(Bytes{},                                            // no record at all
                      Bytes(15, 0x20),                                    // less than a record
                      Concat({RecordBytes("0       ", 5, 0), Bytes{1}}),  // a record and a byte
                      Concat({RecordBytes("0       ", 5, 0), RecordBytes("1       ", -1, 5)})));

}  // namespace
}  // namespace zorvane::unitdesc
