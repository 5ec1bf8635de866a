#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "sample/sample_pictures.h"
#include "sample/sample_sprites.h"
#include "sprite_member.h"
#include "support/files.h"
#include "support/sprite_builder.h"

namespace zorvane::graphics {
namespace {

using testing::HandMadeSubImage;
using Grid = std::vector<std::vector<int>>;

constexpr int T = 213;  // transparent with the DAY palette

// Decodes sub-image 0 of a file made of the one sub-image, held in memory or, with a window
// size, read from an archive through windows of that size.
Grid Decode(const HandMadeSubImage& made, bool useTransparency, PixelBuffer* keep = nullptr,
            std::size_t windowSize = 0) {
  auto file = testing::SpriteFileOf({made});
  // A file of 40 bytes or fewer is refused before decoding; a sub-image without a stream
  // alone makes one, so a byte past the stream lengthens it (the decoder reads 0 there anyway).
  if (file.size() <= 40) file.push_back(0);
  const SpriteMember member(file, windowSize);
  const ShpFileReader& reader = member.Reader();
  const auto image = reader.SubImage(0);
  EXPECT_TRUE(image.has_value());
  if (!image) return {};
  PixelBuffer pixels;
  DecodeShpImage(*image, useTransparency, pixels);
  EXPECT_EQ(reader.ReadFailure(), std::nullopt);
  if (keep != nullptr) *keep = pixels;
  return testing::TopDownGrid(pixels);
}

struct DecodeCase {
  const char* Name;
  HandMadeSubImage SubImage;
  bool UseTransparency;
  Grid Expected;
};

// Each case decoded from memory and from an archive through windows of 1, 5 and the usual size:
// a stream split anywhere, or ending where the member ends, gives the same picture.
class Decoding : public ::testing::TestWithParam<std::tuple<DecodeCase, std::size_t>> {};

TEST_P(Decoding, GivesThePictureOfTheStream) {
  const auto& [c, windowSize] = GetParam();
  EXPECT_EQ(Decode(c.SubImage, c.UseTransparency, nullptr, windowSize), c.Expected);
}

// 4 x 3, box from column 2 on row 1 only, a run of two pixels of colour 7.
const HandMadeSubImage kSmallBox{2, 3, 2, 1, 3, 1, {4, 7, 0}};
// The box of a picture without visible pixels.
const HandMadeSubImage kEmptyMarker{
    2, 4, kEmptyMarkerStart, kEmptyMarkerStart, kEmptyMarkerEnd, kEmptyMarkerEnd, {}};

const DecodeCase kDecodeCases[] = {
    DecodeCase{"BoxWithDayPalette", kSmallBox, true, {{T, T, T, T}, {T, T, 7, 7}, {T, T, T, T}}},
    DecodeCase{
        "BoxWithoutTransparency", kSmallBox, false, {{0, 0, 0, 0}, {0, 0, 7, 7}, {0, 0, 0, 0}}},
    DecodeCase{
        "RunOf213BecomesSubstitute", {0, 2, 0, 0, 2, 0, {6, 213, 0}}, true, {{206, 206, 206}}},
    DecodeCase{"LiteralOf213BecomesSubstitute",
               {0, 2, 0, 0, 2, 0, {7, 213, 5, 213, 0}},
               true,
               {{206, 5, 206}}},
    DecodeCase{"213StaysWithoutTransparency",
               {0, 2, 0, 0, 2, 0, {4, 213, 3, 213, 0}},
               false,
               {{213, 213, 213}}},
    DecodeCase{"SkipOfZeroAdvancesNothing", {0, 2, 0, 0, 2, 0, {1, 0, 3, 5, 0}}, true, {{5, T, T}}},
    DecodeCase{
        "SkipLeavesTransparentPixels", {0, 3, 0, 0, 3, 0, {1, 2, 3, 9, 0}}, true, {{T, T, 9, T}}},
    DecodeCase{"RunPastTheRightEdgeDoesNotWrap",
               {1, 2, 1, 0, 2, 1, {8, 4, 0, 3, 6, 0}},
               true,
               {{T, 4, 4}, {T, 6, T}}},
    DecodeCase{"LiteralPastTheRightEdgeDoesNotWrap",
               {1, 2, 1, 0, 2, 1, {7, 1, 2, 3, 0, 0}},
               false,
               {{0, 1, 2}, {0, 0, 0}}},
    DecodeCase{"RowsPastTheBottomAreDropped",
               {1, 1, 0, 0, 1, 5, {3, 1, 0, 3, 2, 0, 3, 3, 0, 3, 4, 0}},
               true,
               {{1, T}, {2, T}}},
    DecodeCase{"RowsAboveAndBelowTheBoxAreTransparent",
               {3, 1, 0, 1, 1, 2, {4, 8, 0, 3, 9, 0}},
               true,
               {{T, T}, {8, 8}, {9, T}, {T, T}}},
    DecodeCase{"EmptyPictureMarkerWithDayPalette",
               kEmptyMarker,
               true,
               {{T, T, T, T, T}, {T, T, T, T, T}, {T, T, T, T, T}}},
    DecodeCase{"EmptyPictureMarkerWithoutTransparency",
               kEmptyMarker,
               false,
               {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
    DecodeCase{
        "BoxLeftOfThePictureIsTransparent", {1, 1, -1, 0, 1, 1, {3, 9, 0}}, true, {{T, T}, {T, T}}},
    // Past the end of the file the stream reads as 0: a literal takes colour 0, then every
    // code ends a row.
    DecodeCase{"StreamEndingEarlyReadsZeros",
               {2, 2, 0, 0, 2, 2, {7, 1}},
               true,
               {{1, 0, 0}, {T, T, T}, {T, T, T}}},
    DecodeCase{"StreamEndingInARunReadsColourZero", {0, 2, 0, 0, 2, 0, {4}}, true, {{0, 0, T}}}};

std::string WindowName(std::size_t windowSize) {
  return windowSize == 0 ? "Memory" : "Window" + std::to_string(windowSize);
}

INSTANTIATE_TEST_SUITE_P(Streams, Decoding,
                         ::testing::Combine(::testing::ValuesIn(kDecodeCases),
                                            ::testing::Values(0, 1, 5, kShpWindowSize)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).Name) + "_" +
                                  WindowName(std::get<1>(info.param));
                         });

TEST(Decoding, SkipOf255MovesThatManyColumns) {
  const Grid grid = Decode({0, 258, 0, 0, 258, 0, {1, 255, 4, 9, 0}}, true);
  ASSERT_EQ(grid.size(), 1u);
  ASSERT_EQ(grid[0].size(), 259u);
  for (int x = 0; x < 259; ++x) EXPECT_EQ(grid[0][x], x == 255 || x == 256 ? 9 : T) << x;
}

TEST(Decoding, PadBytesStayZero) {
  PixelBuffer pixels;
  Decode({2, 4, 0, 0, 4, 2, {10, 7, 0, 10, 7, 0, 10, 7, 0}}, true, &pixels);
  ASSERT_EQ(pixels.Stride, 8);
  ASSERT_EQ(pixels.Bytes.size(), 24u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(pixels.At(x, y), x < 5 ? 7 : 0) << x << "," << y;
  }
}

TEST(Decoding, AHugeBoxEndIsClippedToThePicture) {
  PixelBuffer pixels;
  const Grid grid = Decode({1, 1, 0, 0, INT_MAX, INT_MAX, {}}, true, &pixels);
  EXPECT_EQ(grid, (Grid{{T, T}, {T, T}}));
}

// Sprites written by the sample's encoder decode back to the pictures they were made from:
// with transparency the pictures' 213 pixels are coded as gaps and come back as 213.
class RoundTrip : public ::testing::TestWithParam<std::tuple<int, int, bool, std::size_t>> {};

TEST_P(RoundTrip, SeededRandomPicturesComeBackUnchanged) {
  const auto [width, height, transparency, windowSize] = GetParam();
  std::mt19937 random(static_cast<unsigned>(width * 1000 + height));
  std::vector<sample::Picture> pictures;
  for (int n = 0; n < 3; ++n) {
    sample::Picture picture(width, height, 0);
    for (auto& pixel : picture.Pixels) {
      // Runs, repeats and transparent stretches all occur.
      const unsigned roll = random() % 8;
      pixel = roll < 3   ? sample::kTransparent
              : roll < 5 ? std::uint8_t{40}
                         : static_cast<std::uint8_t>(random() % 256);
    }
    pictures.push_back(picture);
  }
  const auto file = sample::SpriteFile(pictures, transparency);
  const SpriteMember member(file, windowSize);
  const ShpFileReader& reader = member.Reader();
  ASSERT_TRUE(reader.TableUsable());
  ASSERT_EQ(reader.Header().ImageCount, 3);
  for (int n = 0; n < 3; ++n) {
    const auto image = reader.SubImage(n);
    ASSERT_TRUE(image && image->HeaderValid);
    PixelBuffer pixels;
    DecodeShpImage(*image, transparency, pixels);
    ASSERT_EQ(pixels.Width, width);
    ASSERT_EQ(pixels.Height, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        ASSERT_EQ(pixels.At(x, height - 1 - y), pictures[n].At(x, y)) << n << ":" << x << "," << y;
      }
    }
  }
  EXPECT_EQ(reader.ReadFailure(), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RoundTrip,
                         ::testing::Combine(::testing::Values(1, 5, 64, 300),
                                            ::testing::Values(1, 3, 32), ::testing::Bool(),
                                            ::testing::Values(0, 13)));

}  // namespace
}  // namespace zorvane::graphics
