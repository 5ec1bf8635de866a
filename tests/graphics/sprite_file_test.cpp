#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "sprite_member.h"
#include "support/sprite_builder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;

// "1.10", a count, and table entries as given, then `fill` zero bytes.
Bytes RawFile(std::int32_t count, const std::vector<std::pair<std::int32_t, std::int32_t>>& entries,
              std::size_t fill) {
  Bytes file{'1', '.', '1', '0'};
  platform::AppendInt32(file, count);
  for (const auto& [offset, reserved] : entries) {
    platform::AppendInt32(file, offset);
    platform::AppendInt32(file, reserved);
  }
  file.resize(file.size() + fill, 0);
  return file;
}

// A one-pixel sub-image appended to `file`, whose entry `index` is set to point at it.
Bytes WithPixelAt(Bytes file, int index, std::int16_t maxRow = 0, std::int16_t maxColumn = 0) {
  const auto offset = static_cast<std::int32_t>(file.size());
  platform::WriteInt32(file.data() + 8 + 8 * index, offset);
  const auto image = testing::SubImageBytes({maxRow, maxColumn, 0, 0, 0, 0, {3, 9, 0}});
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

struct FileCase {
  const char* Name;
  Bytes File;
  bool TableUsable;
  // For each sub-image of a usable table: whether it can be read.
  std::vector<bool> Readable;
};

// Each file held in memory, and as a member of an archive read through windows of 3 bytes and
// of the usual size: the checks see the member's bytes and nothing past them.
class SpriteFileReading : public ::testing::TestWithParam<std::tuple<FileCase, std::size_t>> {};

TEST_P(SpriteFileReading, ChecksEveryCountAndOffsetAgainstTheFile) {
  const FileCase& c = std::get<0>(GetParam());
  const SpriteMember member(c.File, std::get<1>(GetParam()));
  const ShpFileReader& reader = member.Reader();
  ASSERT_EQ(reader.TableUsable(), c.TableUsable);
  if (!c.TableUsable) {
    EXPECT_FALSE(reader.SubImage(0).has_value());
    return;
  }
  ASSERT_EQ(reader.Header().ImageCount, static_cast<std::int32_t>(c.Readable.size()));
  for (std::size_t i = 0; i < c.Readable.size(); ++i) {
    EXPECT_EQ(reader.SubImage(static_cast<std::int32_t>(i)).has_value(), c.Readable[i]) << i;
  }
  EXPECT_FALSE(reader.SubImage(-1).has_value());
  EXPECT_FALSE(reader.SubImage(static_cast<std::int32_t>(c.Readable.size())).has_value());
  EXPECT_EQ(reader.ReadFailure(), std::nullopt);
}

const Bytes kOnePixel = testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {3, 9, 0}}});

const FileCase kFileCases[] = {
    FileCase{"Empty", {}, false, {}},
    FileCase{"ShorterThanItsHeader", {'1', '.', '1'}, false, {}},
    FileCase{"CountZero", RawFile(0, {}, 40), false, {}},
    FileCase{"CountNegative", RawFile(-3, {}, 40), false, {}},
    FileCase{"CountLargestNumber", RawFile(INT_MAX, {{16, 0}}, 40), false, {}},
    FileCase{
        "TableOneEntryTooLong", RawFile(5, {{48, 0}, {48, 0}, {48, 0}, {48, 0}}, 0), false, {}},
    FileCase{"SmallestUsableFile", kOnePixel, true, {true}},
    FileCase{"FortyBytesRejectEverySubImage", RawFile(1, {{16, 0}}, 24), true, {false}},
    FileCase{"FortyOneBytes", testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {0}}}), true, {true}},
    FileCase{
        "OffsetFifteen", WithPixelAt(RawFile(2, {{0, 0}, {15, 0}}, 0), 0), true, {true, false}},
    FileCase{
        "NegativeReserved", WithPixelAt(RawFile(2, {{0, 0}, {24, -1}}, 0), 0), true, {true, false}},
    FileCase{"OffsetPastTheEnd",
             WithPixelAt(RawFile(2, {{0, 0}, {INT_MAX, 0}}, 0), 0),
             true,
             {true, false}},
    FileCase{"HeaderCrossingTheEnd",
             WithPixelAt(RawFile(2, {{0, 0}, {33, 0}}, 0), 0),
             true,
             {true, false}},
    FileCase{"NegativeMaxRow", WithPixelAt(RawFile(1, {{0, 0}}, 0), 0, -1, 4), true, {false}},
    FileCase{"NegativeMaxColumn", WithPixelAt(RawFile(1, {{0, 0}}, 0), 0, 4, -2), true, {false}}};

INSTANTIATE_TEST_SUITE_P(Files, SpriteFileReading,
                         ::testing::Combine(::testing::ValuesIn(kFileCases),
                                            ::testing::Values(0, 3, kShpWindowSize)),
                         [](const auto& info) {
                           const std::size_t window = std::get<1>(info.param);
                           return std::string(std::get<0>(info.param).Name) + "_" +
                                  (window == 0 ? "Memory" : "Window" + std::to_string(window));
                         });

// A file that shrinks while it is read (another program truncates it) is not taken for a
// shorter sprite file: the reader says why its bytes ended, and the stream reads 0 from there.
TEST(SpriteFileReading, AFileThatEndsEarlyIsReportedAsUnreadable) {
  const Bytes file =
      testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {3, 9, 0}}, {0, 2, 0, 0, 2, 0, {7, 1, 2, 3, 0}}});
  const SpriteMember member(file, 4);
  const ShpFileReader& reader = member.Reader();
  ASSERT_TRUE(reader.SubImage(0).has_value());
  std::filesystem::resize_file(member.ArchivePath(), SpriteMember::kBytesBefore + file.size() - 3);
  const auto image = reader.SubImage(1);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(reader.ReadFailure(), std::nullopt);
  PixelBuffer pixels;
  DecodeShpImage(*image, false, pixels);
  EXPECT_EQ(reader.ReadFailure(), std::optional<std::string>("The file ends too early"));
  EXPECT_EQ(testing::TopDownGrid(pixels), (std::vector<std::vector<int>>{{1, 0, 0}}));
}

struct BoundsCase {
  const char* Name;
  ShpImageHeader Header;
  bool Valid;
};

class BoundsTest : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(BoundsTest, AcceptsOnlyABoxThatStartsInsideThePicture) {
  EXPECT_EQ(PassesBoundsTest(GetParam().Header), GetParam().Valid);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BoundsTest,
    ::testing::Values(BoundsCase{"WholePicture", {2, 3, 0, 0, 0, 3, 2}, true},
                      BoundsCase{"EndsPastThePicture", {2, 3, 0, 3, 2, 99, 99}, true},
                      BoundsCase{"LargestPicture", {32767, 32767, 0, 0, 0, 32767, 32767}, true},
                      BoundsCase{"StartRightOfThePicture", {2, 3, 0, 4, 0, 4, 2}, false},
                      BoundsCase{"StartBelowThePicture", {2, 3, 0, 0, 3, 3, 3}, false},
                      BoundsCase{"EndBeforeStart", {2, 3, 0, 2, 0, 1, 2}, false},
                      BoundsCase{"RowEndBeforeStart", {2, 3, 0, 0, 2, 3, 1}, false},
                      BoundsCase{"NegativeStart", {2, 3, 0, -1, 0, 3, 2}, false},
                      BoundsCase{"EmptyMarker",
                                 {2, 3, 0, kEmptyMarkerStart, kEmptyMarkerStart, kEmptyMarkerEnd,
                                  kEmptyMarkerEnd},
                                 false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SpriteFileReading, TheEmptyMarkerReadsAsTheBytesTheEncoderWrites) {
  const Bytes file = testing::SpriteFileOf(
      {{2, 4, kEmptyMarkerStart, kEmptyMarkerStart, kEmptyMarkerEnd, kEmptyMarkerEnd, {}}});
  // Alone, such a sub-image makes a 40-byte file, which is too short to be read.
  ASSERT_EQ(file.size(), 40u);
  const Bytes marker(file.begin() + 24, file.end());
  EXPECT_EQ(marker, (Bytes{0xFE, 0xFE, 0xFE, 0x7F, 0xFE, 0xFE, 0xFE, 0x7F, 0xFE, 0xFE, 0xFE, 0x80,
                           0xFE, 0xFE, 0xFE, 0x80}));
  EXPECT_FALSE(ShpFileReader(file).SubImage(0).has_value());
}

}  // namespace
}  // namespace zorvane::graphics
