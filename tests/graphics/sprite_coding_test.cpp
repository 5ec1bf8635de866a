#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "graphics/sprite_decoder.h"
#include "graphics/sprite_encoder.h"
#include "graphics/sprite_packer.h"
#include "sprite_member.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"

namespace zorvane::graphics {
namespace {

using testing::HandMadeSubImage;
using testing::Rows;
using Bytes = std::vector<std::uint8_t>;

constexpr int T = 213;  // transparent with the DAY palette

std::vector<int> Repeat(int colour, std::size_t count) {
  return std::vector<int>(count, colour);
}

template <typename Row = std::vector<int>>
Row Concat(std::initializer_list<Row> parts) {
  Row row;
  for (const auto& part : parts) row.insert(row.end(), part.begin(), part.end());
  return row;
}

template <typename Row = std::vector<int>>
Row Alternating(int count) {
  Row row;
  for (int i = 0; i < count; ++i) row.push_back(1 + i % 2);
  return row;
}

struct EncodeCase {
  const char* Name;
  Rows Picture;
  bool UseTransparency;
  std::vector<std::int32_t> Box;  // XStart, YStart, XEnd, YEnd
  Bytes Stream;
};
using E = EncodeCase;

const EncodeCase kEncodeCases[] = {
    E("SixByThree", {{T, T, 5, 5, 5, 9}, Repeat(T, 6), {7, T, T, 8, 8, T}}, true, {0, 0, 5, 2},
      {1, 2, 6, 5, 3, 9, 0, 0, 3, 7, 1, 2, 4, 8, 0}),
    E("GapBeforeTheLastPixel", {{5, T, T, 9}}, true, {0, 0, 3, 0}, {3, 5, 1, 2, 3, 9, 0}),
    E("WithoutTransparencyEveryRowEnds", {{1, 1, 1, 1}, {2, 3, 3, 3}}, false, {0, 0, 3, 1},
      {8, 1, 0, 3, 2, 6, 3, 0}),
    E("PairAtTheStartIsARunFinalPairIsLiteral", {{4, 4, 6, 6, 6, 6, 9, 9}}, false, {0, 0, 7, 0},
      {4, 4, 8, 6, 5, 9, 9, 0}),
    E("NoThreeEqualStaysLiteral", {{1, 2, 1, 2, 1, 2, 7, 7}}, false, {0, 0, 7, 0},
      {17, 1, 2, 1, 2, 1, 2, 7, 7, 0}),
    E("PairAfterARunStaysLiteral", {{5, 5, 5, 7, 7, 9}}, false, {0, 0, 5, 0},
      {6, 5, 7, 7, 7, 9, 0}),
    E("PairInsideALiteralStaysLiteral", {{1, 2, 2, 3, 4}}, false, {0, 0, 4, 0},
      {11, 1, 2, 2, 3, 4, 0}),
    E("PairAfterAGapIsARun", {{5, T, 7, 7, 8}}, true, {0, 0, 4, 0}, {3, 5, 1, 1, 4, 7, 3, 8, 0}),
    E("LeadingGapLeftOfTheBoxCodesNothing", {Concat({Repeat(T, 300), {9}})}, true, {300, 0, 300, 0},
      {3, 9, 0}),
    E("GapOf300", {Concat({{9}, Repeat(T, 300), {9, 9}})}, true, {0, 0, 302, 0},
      {3, 9, 1, 255, 1, 45, 4, 9, 0}),
    E("GapOf255", {Concat({{9}, Repeat(T, 255), {9}})}, true, {0, 0, 256, 0},
      {3, 9, 1, 255, 3, 9, 0}),
    E("GapOf510", {Concat({{9}, Repeat(T, 510), {9}})}, true, {0, 0, 511, 0},
      {3, 9, 1, 255, 1, 255, 3, 9, 0}),
    E("LeadingGapRightOfTheBoxIsCoded", {{T, T, 4, 4}, {3, T, T, T}}, true, {0, 0, 3, 1},
      {1, 2, 4, 4, 0, 3, 3, 0}),
    E("GapAtTheRightEndIsNotCoded", {{6, 6, 6, T, T, T, T}}, true, {0, 0, 2, 0}, {6, 6, 0}),
    E("OnlyTheBottomRowVisible", {Repeat(T, 3), Repeat(T, 3), Repeat(T, 3), {1, 2, 3}}, true,
      {0, 3, 2, 3}, {7, 1, 2, 3, 0}),
    E("TransparentRowsInsideTheBoxAreEnded", {{T, 1, T}, Repeat(T, 3), {T, 2, T}, Repeat(T, 3)},
      true, {1, 0, 1, 2}, {3, 1, 0, 0, 3, 2, 0}),
    E("All213WithoutTransparencyIsCoded", {{T, T}, {T, T}}, false, {0, 0, 1, 1},
      {4, T, 0, 4, T, 0}),
    E("All213WithTransparencyIsTheEmptyMarker", {Repeat(T, 4), Repeat(T, 4)}, true,
      {kEmptyMarkerStart, kEmptyMarkerStart, kEmptyMarkerEnd, kEmptyMarkerEnd}, {}),
    E("WidthOneNeverRuns", {{4}, {4}, {6}}, false, {0, 0, 0, 2}, {3, 4, 0, 3, 4, 0, 3, 6, 0}),
    E("RunOf200", {Repeat(3, 200)}, false, {0, 0, 199, 0}, {254, 3, 146, 3, 0}),
    E("RunOf127", {Repeat(3, 127)}, false, {0, 0, 126, 0}, {254, 3, 0}),
    E("RunOf128", {Repeat(3, 128)}, false, {0, 0, 127, 0}, {254, 3, 2, 3, 0}),
    E("LiteralOf127", {Alternating(127)}, false, {0, 0, 126, 0},
      Concat<Bytes>({{255}, Alternating<Bytes>(127), {0}})),
    E("LiteralOf130", {Alternating(130)}, false, {0, 0, 129, 0},
      Concat<Bytes>({{255}, Alternating<Bytes>(127), {7, 2, 1, 2, 0}}))};

TEST(Encoding, GivesTheBoxAndTheStream) {
  for (const EncodeCase& c : kEncodeCases) {
    SCOPED_TRACE(c.Name);
    EncodedImage image;  // each starts without a stream buffer
    // Pad bytes that differ from every pixel must never be coded.
    EncodeShpImage(testing::PictureOf(c.Picture, 77), c.UseTransparency, image);
    const ShpImageHeader& h = image.Header;
    EXPECT_EQ(h.MaxRow + 1, static_cast<int>(c.Picture.size()));
    EXPECT_EQ(h.MaxColumn + 1, static_cast<int>(c.Picture[0].size()));
    EXPECT_EQ((std::vector{h.XStart, h.YStart, h.XEnd, h.YEnd}), c.Box);
    EXPECT_EQ(image.Empty, c.Stream.empty());
    EXPECT_EQ(Bytes(image.ImageStream.begin(),
                    image.ImageStream.begin() + static_cast<std::ptrdiff_t>(image.StreamLength)),
              c.Stream);
  }
}

// Seeded random pictures of stretches and noise, packed into one sprite file and read back
// from memory and through windows of 13 bytes, decode to themselves: 213 is coded as gaps with
// transparency and as a colour without.
TEST(Encoding, PackedRandomPicturesDecodeBackUnchanged) {
  std::mt19937 random(5);
  const auto below = [&random](int n) { return static_cast<int>(random() % n); };
  const int colours[] = {T, T, 1, 2, 206, 255, 0};
  for (const bool transparency : {true, false}) {
    std::vector<Rows> pictures{Rows(3, Repeat(T, 5))};
    while (pictures.size() < 14) {
      Rows rows(1 + below(pictures.size() < 4 ? 300 : 12), std::vector<int>(1 + below(300)));
      int colour = 0, left = 0;
      for (auto& row : rows) {
        for (int& pixel : row) {
          if (left-- == 0) colour = colours[below(7)], left = below(10) ? below(8) : below(400);
          pixel = below(7) == 0 ? below(256) : colour;
        }
      }
      pictures.push_back(rows);
    }
    SpritePacker packer;
    for (const Rows& rows : pictures) packer.Add(testing::PictureOf(rows, 99), transparency);
    const Bytes file = packer.FileBytes();
    for (const std::size_t window : {0, 13}) {
      const SpriteMember member(file, window);
      for (std::size_t n = 0; n < pictures.size(); ++n) {
        const auto image = member.Reader().SubImage(static_cast<std::int32_t>(n));
        ASSERT_TRUE(image.has_value());
        PixelBuffer decoded;
        DecodeShpImage(*image, transparency, decoded);
        ASSERT_EQ(testing::TopDownGrid(decoded), pictures[n])
            << "picture " << n << ", window " << window << ", transparency " << transparency;
      }
      EXPECT_EQ(member.Reader().ReadFailure(), std::nullopt);
    }
  }
}

// Each file is read from memory and from an archive through windows of these sizes: a stream
// split anywhere, or ending where the member ends, reads the same.
constexpr std::size_t kWindows[] = {0, 1, 5, kShpWindowSize};

struct DecodeCase {
  const char* Name;
  HandMadeSubImage SubImage;
  bool UseTransparency;
  Rows Expected;
};

// 4 x 3, box from column 2 on row 1 only, a run of two pixels of colour 7.
const HandMadeSubImage kSmallBox{2, 3, 2, 1, 3, 1, {4, 7, 0}};
const HandMadeSubImage kEmptyMarker{
    2, 4, kEmptyMarkerStart, kEmptyMarkerStart, kEmptyMarkerEnd, kEmptyMarkerEnd, {}};

using D = DecodeCase;
const DecodeCase kDecodeCases[] = {
    D("BoxWithDayPalette", kSmallBox, true, {{T, T, T, T}, {T, T, 7, 7}, {T, T, T, T}}),
    D("BoxWithoutTransparency", kSmallBox, false, {{0, 0, 0, 0}, {0, 0, 7, 7}, {0, 0, 0, 0}}),
    D("RunOf213BecomesSubstitute", {0, 2, 0, 0, 2, 0, {6, 213, 0}}, true, {{206, 206, 206}}),
    D("LiteralOf213BecomesSubstitute", {0, 2, 0, 0, 2, 0, {7, 213, 5, 213, 0}}, true,
      {{206, 5, 206}}),
    D("213StaysWithoutTransparency", {0, 2, 0, 0, 2, 0, {4, 213, 3, 213, 0}}, false, {{T, T, T}}),
    D("SkipOfZeroAdvancesNothing", {0, 2, 0, 0, 2, 0, {1, 0, 3, 5, 0}}, true, {{5, T, T}}),
    D("SkipLeavesTransparentPixels", {0, 3, 0, 0, 3, 0, {1, 2, 3, 9, 0}}, true, {{T, T, 9, T}}),
    D("SkipOf255", {0, 258, 0, 0, 258, 0, {1, 255, 4, 9, 0}}, true,
      {Concat({Repeat(T, 255), {9, 9}, {T, T}})}),
    D("RunPastTheRightEdgeDoesNotWrap", {1, 2, 1, 0, 2, 1, {8, 4, 0, 3, 6, 0}}, true,
      {{T, 4, 4}, {T, 6, T}}),
    // A picture without pad bytes: the row above follows the row's last pixel.
    D("LiteralPastTheEdgeLeavesTheRowAbove", {1, 3, 0, 0, 3, 1, {3, 9, 0, 11, 1, 2, 3, 4, 5, 0}},
      false, {{9, 0, 0, 0}, {1, 2, 3, 4}}),
    D("LiteralPastTheRightEdgeDoesNotWrap", {1, 2, 1, 0, 2, 1, {7, 1, 2, 3, 0, 0}}, false,
      {{0, 1, 2}, {0, 0, 0}}),
    D("RowsPastTheBottomAreDropped", {1, 1, 0, 0, 1, 5, {3, 1, 0, 3, 2, 0, 3, 3, 0, 3, 4, 0}}, true,
      {{1, T}, {2, T}}),
    D("RowsAboveAndBelowTheBoxAreTransparent", {3, 1, 0, 1, 1, 2, {4, 8, 0, 3, 9, 0}}, true,
      {{T, T}, {8, 8}, {9, T}, {T, T}}),
    D("HugeBoxEndIsClipped", {1, 1, 0, 0, INT_MAX, INT_MAX, {}}, true, {{T, T}, {T, T}}),
    D("EmptyMarkerWithDayPalette", kEmptyMarker, true, Rows(3, Repeat(T, 5))),
    D("EmptyMarkerWithoutTransparency", kEmptyMarker, false, Rows(3, Repeat(0, 5))),
    D("BoxLeftOfThePictureIsTransparent", {1, 1, -1, 0, 1, 1, {3, 9, 0}}, true, {{T, T}, {T, T}}),
    // Past the end of the file the stream reads as 0: a literal takes colour 0, then every
    // code ends a row.
    D("StreamEndingEarlyReadsZeros", {2, 2, 0, 0, 2, 2, {7, 1}}, true,
      {{1, 0, 0}, {T, T, T}, {T, T, T}}),
    D("StreamEndingInARunReadsColourZero", {0, 2, 0, 0, 2, 0, {4}}, true, {{0, 0, T}})};

TEST(Decoding, GivesThePictureOfTheStream) {
  for (const DecodeCase& c : kDecodeCases) {
    auto file = testing::SpriteFileOf({c.SubImage});
    // A file of 40 bytes or fewer is refused before decoding; the decoder reads 0 past the
    // stream anyway.
    if (file.size() <= 40) file.push_back(0);
    for (const std::size_t window : kWindows) {
      SCOPED_TRACE(std::string(c.Name) + ", window " + std::to_string(window));
      const SpriteMember member(file, window);
      const auto image = member.Reader().SubImage(0);
      ASSERT_TRUE(image.has_value());
      PixelBuffer pixels;
      DecodeShpImage(*image, c.UseTransparency, pixels);
      EXPECT_EQ(testing::TopDownGrid(pixels), c.Expected);
      EXPECT_EQ(member.Reader().ReadFailure(), std::nullopt);
    }
  }
}

// "1.10", a count, and table entries {offset, reserved} as given, then `fill` zero bytes.
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

// A one-pixel sub-image appended to `file`, which entry 0 points at.
Bytes WithPixel(Bytes file, std::int16_t maxRow = 0, std::int16_t maxColumn = 0) {
  platform::WriteInt32(file.data() + 8, static_cast<std::int32_t>(file.size()));
  const auto image = testing::SubImageBytes({maxRow, maxColumn, 0, 0, 0, 0, {3, 9, 0}});
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

struct FileCase {
  const char* Name;
  Bytes File;
  bool TableUsable;
  std::vector<bool> Readable;  // for each sub-image of a usable table
};

const FileCase kFileCases[] = {
    {"Empty", {}, false, {}},
    {"ShorterThanItsHeader", {'1', '.', '1'}, false, {}},
    {"CountZero", RawFile(0, {}, 40), false, {}},
    {"CountNegative", RawFile(-3, {}, 40), false, {}},
    {"CountLargestNumber", RawFile(INT_MAX, {{16, 0}}, 40), false, {}},
    {"TableOneEntryTooLong", RawFile(5, {{48, 0}, {48, 0}, {48, 0}, {48, 0}}, 0), false, {}},
    {"SmallestUsableFile", testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {3, 9, 0}}}), true, {true}},
    {"FortyBytesRejectEverySubImage", RawFile(1, {{16, 0}}, 24), true, {false}},
    {"FortyOneBytes", testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {0}}}), true, {true}},
    {"OffsetFifteen", WithPixel(RawFile(2, {{0, 0}, {15, 0}}, 0)), true, {true, false}},
    {"NegativeReserved", WithPixel(RawFile(2, {{0, 0}, {24, -1}}, 0)), true, {true, false}},
    {"OffsetPastTheEnd", WithPixel(RawFile(2, {{0, 0}, {INT_MAX, 0}}, 0)), true, {true, false}},
    {"HeaderCrossingTheEnd", WithPixel(RawFile(2, {{0, 0}, {33, 0}}, 0)), true, {true, false}},
    {"HeaderEndingTheFile",
     testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {3, 9, 0}}, {}}),
     true,
     {true, true}},
    // The first bytes after the table would read as an entry of a sub-image 1.
    {"EntryPastTheCount", testing::SpriteFileOf({{16, 0, 0, 0, 0, 0, {3, 9, 0}}}), true, {true}},
    {"NegativeMaxRow", WithPixel(RawFile(1, {{0, 0}}, 0), -1, 4), true, {false}},
    {"NegativeMaxColumn", WithPixel(RawFile(1, {{0, 0}}, 0), 4, -2), true, {false}}};

// Every count and offset is checked against the member's bytes, and nothing past them.
TEST(SpriteFileReading, ChecksEveryCountAndOffsetAgainstTheFile) {
  for (const FileCase& c : kFileCases) {
    for (const std::size_t window : {std::size_t{0}, std::size_t{3}, kShpWindowSize}) {
      SCOPED_TRACE(std::string(c.Name) + ", window " + std::to_string(window));
      const SpriteMember member(c.File, window);
      const ShpFileReader& reader = member.Reader();
      EXPECT_EQ(reader.TableUsable(), c.TableUsable);
      const auto count = static_cast<std::int32_t>(c.Readable.size());
      if (c.TableUsable) {
        EXPECT_EQ(reader.Header().ImageCount, count);
      }
      for (std::int32_t i = -1; i <= count; ++i) {
        EXPECT_EQ(reader.SubImage(i).has_value(), i >= 0 && i < count && c.Readable[i]) << i;
      }
      EXPECT_EQ(reader.ReadFailure(), std::nullopt);
    }
  }
}

}  // namespace
}  // namespace zorvane::graphics
