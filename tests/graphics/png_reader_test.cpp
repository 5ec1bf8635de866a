#include <gtest/gtest.h>
#include <spng.h>

#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "graphics/png_reader.h"
#include "support/pictures.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Rows;
using namespace std::literals;

// Entry i is red i, green i, blue 255 - i, except that 17 and 40 repeat entry 0 and 100 and
// 120 are grey. Spare is 9, which no PNG has.
const Palette kDay = [] {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[i] = {std::uint8_t(i == 100 || i == 120 ? i : 255 - i), std::uint8_t(i), std::uint8_t(i), 9};
  }
  p[17] = p[40] = p[0];
  return p;
}();

// A PNG of colour type `type` whose rows hold these samples (a byte each), top row first.
Bytes Encode(std::uint8_t type, std::uint8_t depth, const Rows& rows,
             std::span<const PaletteEntry> plte = {}) {
  const std::uint32_t width = rows[0].size() * 8 / depth / (type == 2 ? 3 : type == 6 ? 4 : 1);
  spng_ihdr header{width, std::uint32_t(rows.size()), depth, type, 0, 0, 0};
  spng_plte palette{std::uint32_t(plte.size()), {}};
  for (std::size_t i = 0; i < plte.size(); ++i) {
    palette.entries[i] = {plte[i].Red, plte[i].Green, plte[i].Blue, 0};
  }
  Bytes samples;
  for (const auto& row : rows) samples.insert(samples.end(), row.begin(), row.end());
  spng_ctx* c = spng_ctx_new(SPNG_CTX_ENCODER);
  EXPECT_EQ(spng_set_option(c, SPNG_ENCODE_TO_BUFFER, 1) | spng_set_ihdr(c, &header), 0);
  EXPECT_EQ(plte.empty() ? 0 : spng_set_plte(c, &palette), 0);
  EXPECT_EQ(
      spng_encode_image(c, samples.data(), samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE), 0);
  std::size_t length = 0;
  int error = 0;
  auto* png = static_cast<std::uint8_t*>(spng_get_png_buffer(c, &length, &error));
  spng_ctx_free(c);
  const Bytes bytes(png, png + length);
  std::free(png);
  return bytes;
}

// kDay with entry `index` of another green and blue.
Palette Changed(std::size_t index, std::uint8_t green, std::uint8_t blue) {
  Palette p = kDay;
  p[index].Green = green;
  p[index].Blue = blue;
  return p;
}
PngRegion At(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  return {x, y, width, height};
}

Bytes Chunk(const char* type, std::string_view data) {
  Bytes chunk{0, 0, std::uint8_t(data.size() >> 8), std::uint8_t(data.size())};
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 4; i < chunk.size(); ++i) {
    crc ^= chunk[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  for (const int shift : {24, 16, 8, 0}) chunk.push_back(std::uint8_t(~crc >> shift));
  return chunk;
}
Bytes Inserted(Bytes png, std::size_t at, const Bytes& chunk) {
  png.insert(png.begin() + std::ptrdiff_t(at), chunk.begin(), chunk.end());
  return png;
}

// Pictures of kDay's indices (or grey levels), top row first.
const Rows kIndices{{1, 2, 3}, {100, 120, 250}}, kReversedIndices{{254, 253, 252}, {155, 135, 5}};
const Rows kShared{{17, 2, 213}, {0, 120, 255}}, kSharedRight{{2, 213}, {120, 255}};
const Rows kGreys{{100, 120, 100}, {120, 120, 100}}, kRefused;
// RGB and RGBA samples, top row first.
const Rows kIndicesRgb{{1, 1, 254, 2, 2, 253, 3, 3, 252},
                       {100, 100, 100, 120, 120, 120, 250, 250, 5}};
const Rows kTransparent{{9, 9, 9, 0, 2, 2, 253, 255}, {5, 5, 250, 0, 0, 0, 0, 0}};
const Rows kSharedRgba{{0, 0, 255, 255, 5, 5, 250, 255, 3, 3, 252, 255},
                       {0, 0, 255, 255, 4, 4, 251, 255, 0, 0, 255, 255}};
const Rows kFour{{40, 40, 41, 255, 1, 1, 254, 255, 40, 40, 41, 255, 7, 0, 0, 255},
                 {1, 1, 254, 255, 9, 9, 9, 255, 8, 8, 8, 255, 7, 0, 0, 255}};
const Rows kAlpha{{1, 1, 254, 255, 1, 1, 1, 254, 2, 2, 2, 254, 7, 7, 7, 0},
                  {8, 8, 8, 0, 3, 3, 3, 1, 1, 1, 254, 128, 9, 9, 9, 0}};
const std::vector<PaletteEntry> kReversed(kDay.rbegin(), kDay.rend());

struct MapCase {
  const char* Name;
  Bytes Png;
  PngRegion Region;
  bool UseTransparency;
  Rows Picture;         // mapped, top row first ...
  std::string Refusal;  // ... or refused
};

const MapCase kMapCases[] = {
    {"GamePaletteCopied", Encode(3, 8, kShared, kDay), At(0, 0, 3, 2), false, kShared, ""},
    {"GamePaletteRegion", Encode(3, 8, kShared, kDay), At(1, 0, 2, 2), false, kSharedRight, ""},
    {"OtherPalette", Encode(3, 8, kReversedIndices, kReversed), At(0, 0, 3, 2), false, kIndices,
     ""},
    {"OtherBlue", Encode(3, 8, kIndices, Changed(2, 2, 7)), At(0, 0, 3, 2), false, kRefused,
     "pixel (1, 0) has the colour 2, 2, 7, which is not in the DAY palette."},
    {"OtherGreen", Encode(3, 8, kIndices, Changed(3, 7, 252)), At(0, 0, 3, 2), false, kRefused,
     "pixel (2, 0) has the colour 3, 7, 252, which is not in the DAY palette."},
    {"Rgb", Encode(2, 8, kIndicesRgb), At(0, 0, 3, 2), false, kIndices, ""},
    {"Grey", Encode(0, 8, kGreys), At(0, 0, 3, 2), false, kGreys, ""},
    {"GreyTrns", Inserted(Encode(0, 8, kGreys), 33, Chunk("tRNS", "\0\x78"sv)), At(0, 0, 3, 2),
     true, Rows{{100, 213, 100}, {213, 213, 100}}, ""},
    {"AlphaZero", Encode(6, 8, kTransparent), At(0, 0, 2, 2), true, Rows{{213, 2}, {213, 213}}, ""},
    {"AtMostThree", Encode(6, 8, kFour), At(0, 0, 4, 2), false, kRefused,
     "pixel (0, 0) has the colour 40, 40, 41, which is not in the DAY palette. pixel (3, 0) has "
     "the colour 7, 0, 0, which is not in the DAY palette. pixel (1, 1) has the colour 9, 9, 9, "
     "which is not in the DAY palette."},
    {"Shared", Encode(6, 8, kSharedRgba), At(1, 1, 2, 1), false, kRefused,
     "pixel (2, 1) has the colour 0, 0, 255, which the DAY palette has at indices 0 and 17."},
    {"Alpha", Encode(6, 8, kAlpha), At(0, 0, 4, 2), false, kRefused,
     "pixel (1, 0) is partly transparent (alpha 254). pixel (3, 0) is transparent, which the DAY "
     "palette's pictures cannot be. pixel (1, 1) is partly transparent (alpha 1)."},
    {"Outside", Encode(0, 8, kGreys), At(2, 1, 2, 1), true, kRefused,
     "the region (2, 1) 2 x 1 does not lie inside the picture of 3 x 2 pixels."}};

TEST(PngReading, MapsByTheGamePaletteOrByExactColourAndNamesUpToThreeOffences) {
  for (const MapCase& c : kMapCases) {
    SCOPED_TRACE(c.Name);
    const auto image = DecodePng(c.Png, kDay);
    ASSERT_TRUE(image) << image.Reason();
    PixelBuffer pixels;
    const auto mapped =
        MapPngRegion(image.Value(), c.Region, {kDay, "DAY", c.UseTransparency}, pixels);
    EXPECT_EQ(mapped ? "" : mapped.Reason(), c.Refusal);
    if (!mapped) continue;
    const PixelBuffer expected = testing::PictureOf(c.Picture);
    EXPECT_EQ(pixels.Bytes, expected.Bytes);
    EXPECT_EQ(std::pair(pixels.Width, pixels.Height), std::pair(expected.Width, expected.Height));
  }
}

// A grey picture of `side` x `side` pixels of `depth` bits with `idat` bytes of image data.
Bytes Claiming(std::string_view side, char depth, std::size_t idat) {
  Bytes png{137, 'P', 'N', 'G', 13, 10, 26, 10};
  const std::string header = "\0\0"s + std::string(side) + "\0\0"s + std::string(side) + depth;
  for (const Bytes& chunk : {Chunk("IHDR", header + "\0\0\0\0"s),
                             Chunk("IDAT", std::string(idat, 'U')), Chunk("IEND", "")}) {
    png.insert(png.end(), chunk.begin(), chunk.end());
  }
  return png;
}

TEST(PngReading, RefusesDamagedSixteenBitAndTooLargeFiles) {
  const Bytes valid = Encode(6, 8, kAlpha);
  Bytes crc = valid;
  crc[crc.size() - 13] ^= 0x01;  // the last byte of the IDAT chunk's CRC
  const std::pair<Bytes, std::string> cases[] = {
      {Encode(2, 16, Rows{{0, 0, 0, 0, 0, 0}}),
       "its samples have 16 bits; save it with 8 bits per sample."},
      {Bytes(valid.begin(), valid.end() - 30),
       "it is not a PNG file that can be read (end of stream)."},
      {crc, "it is not a PNG file that can be read (invalid chunk checksum)."},
      {Claiming("\x75\x30"sv, 8, 43), "it is too large: 30000 x 30000 pixels."},  // 100 bytes
      {Claiming("\x40\x00"sv, 8, 43), "it is too large: 16384 x 16384 pixels."},
      {Claiming("\x40\x01"sv, 1, 40000), "it is too large: 16385 x 16385 pixels."}};
  for (const auto& [file, reason] : cases) {
    const auto image = DecodePng(file, kDay);
    EXPECT_EQ(image ? "read" : image.Reason(), reason) << file.size();
  }
  const auto plain = DecodePng(Encode(0, 8, Rows(2000, std::vector<int>(2000, 77))), kDay);
  ASSERT_TRUE(plain) << plain.Reason();
  EXPECT_EQ(plain.Value().Pixels.size(), 16000000u);
}

TEST(PngReading, KeepsEveryTextChunkInFileOrder) {
  Bytes png = Encode(0, 8, Rows{{0}});
  png = Inserted(png, png.size() - 12, Chunk("tEXt", "Note\0after"sv));
  png = Inserted(png, png.size() - 12, Chunk("iTXt", "I\0\0\0\0\0intl"sv));
  png = Inserted(png, 33, Chunk("tEXt", "Title\0DAY"sv));
  const auto image = DecodePng(png, kDay);
  ASSERT_TRUE(image) << image.Reason();
  std::string texts;
  for (const PngText& t : image.Value().Texts) texts += t.Keyword + "=" + t.Text + ";";
  EXPECT_EQ(texts, "Title=DAY;Note=after;I=intl;");
}

}  // namespace
}  // namespace zorvane::graphics
