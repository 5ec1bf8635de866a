// Feeds arbitrary bytes as an edited PNG to the PNG reader, and maps the whole picture it gives
// with and without transparency: the sizes must agree, every index must stand for its pixel's
// colour (or be 213 for a pixel of alpha 0 with transparency), and a refusal must name the
// first pixel that cannot be mapped, whatever the bytes were.
// Each input is read as it is and again with the CRC of every chunk made right, so that a
// changed byte reaches the reading of the chunks instead of stopping at their CRC (libspng is
// not instrumented, so the fuzzer cannot learn the CRCs on its own).
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "graphics/png_reader.h"

namespace {

using namespace zorvane::graphics;
using zorvane::fuzz::Check;

constexpr std::size_t kMaxInput = 64 * 1024;
// Sides up to 2^31 - 1 are legal, but a picture of a gigabyte per input would only slow the
// fuzzer down; the reading is the same for smaller pictures.
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 20;

// 256 different colours: entries 0 to 127 the grey levels 0, 2, ..., 254; from 128 on red i,
// green 37 i, blue 255 - i; the light pink at 213. fuzz/corpus/png/ holds PNGs of them.
const Palette kPalette = [] {
  Palette palette{};
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const auto n = static_cast<std::uint8_t>(i);
    palette[i] = i < 128
                     ? PaletteEntry{std::uint8_t(2 * n), std::uint8_t(2 * n), std::uint8_t(2 * n)}
                     : PaletteEntry{std::uint8_t(255 - n), std::uint8_t(37 * n), n};
  }
  palette[kTransparentIndex] = kTransparentPink;
  return palette;
}();

// Which of the 2^24 colours kPalette has, as the harness's own plain answer.
const std::vector<bool> kInPalette = [] {
  std::vector<bool> in(std::size_t{1} << 24);
  for (const PaletteEntry& e : kPalette)
    in[std::size_t{e.Red} << 16 | e.Green << 8 | e.Blue] = true;
  return in;
}();

std::uint32_t BigEndian(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::uint32_t Crc(const std::uint8_t* bytes, std::size_t length) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < length; ++i) crc = kTable[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// The input with the CRC of each chunk after the signature made right, as far as their lengths
// fit in it.
std::vector<std::uint8_t> WithRightCrcs(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> png(data, data + size);
  for (std::size_t at = 8; at + 12 <= size && BigEndian(&png[at]) <= size - at - 12;) {
    const std::size_t crcAt = at + 8 + BigEndian(&png[at]);
    const std::uint32_t crc = Crc(&png[at + 4], crcAt - at - 4);
    for (std::size_t i = 0; i < 4; ++i) png[crcAt + i] = std::uint8_t(crc >> (24 - 8 * i));
    at = crcAt + 4;
  }
  return png;
}

bool Mappable(const std::uint8_t* rgba, bool useTransparency) {
  if (rgba[3] == 0) return useTransparency;
  return rgba[3] == 255 && kInPalette[std::size_t{rgba[0]} << 16 | rgba[1] << 8 | rgba[2]];
}

void CheckMapping(const PngImage& image, bool useTransparency) {
  const auto width = static_cast<std::size_t>(image.Width);
  PixelBuffer pixels;
  const auto mapped = MapPngRegion(image, {0, 0, image.Width, image.Height},
                                   {kPalette, "FUZZ", useTransparency}, pixels);
  if (!mapped) {
    // Indices are never refused; colours are, from the first pixel that has no index.
    Check(!image.GamePalette);
    std::size_t first = 0;
    while (first < image.Pixels.size() / 4 && Mappable(&image.Pixels[first * 4], useTransparency)) {
      ++first;
    }
    Check(first < image.Pixels.size() / 4);
    const std::string place =
        "pixel (" + std::to_string(first % width) + ", " + std::to_string(first / width) + ") ";
    Check(mapped.Reason().rfind(place, 0) == 0 && mapped.Reason().back() == '.');
    return;
  }
  Check(pixels.Width == image.Width && pixels.Height == image.Height);
  for (std::int32_t y = 0; y < image.Height; ++y) {
    for (std::int32_t x = 0; x < image.Width; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
      const std::uint8_t index = pixels.At(x, image.Height - 1 - y);
      if (image.GamePalette) {
        Check(index == image.Pixels[at]);
        continue;
      }
      const std::uint8_t* rgba = &image.Pixels[at * 4];
      if (rgba[3] == 0 && useTransparency) {
        Check(index == kTransparentIndex);
        continue;
      }
      const PaletteEntry& e = kPalette[index];
      Check(rgba[3] == 255 && rgba[0] == e.Red && rgba[1] == e.Green && rgba[2] == e.Blue);
    }
  }
}

void CheckReading(std::span<const std::uint8_t> file) {
  const auto image = DecodePng(file, kPalette);
  if (!image) {
    Check(!image.Reason().empty() && image.Reason().back() == '.');
    return;
  }
  const PngImage& png = image.Value();
  Check(png.Width > 0 && png.Height > 0);
  const std::size_t count =
      static_cast<std::size_t>(png.Width) * static_cast<std::size_t>(png.Height);
  Check(png.Pixels.size() == (png.GamePalette ? count : count * 4));
  CheckMapping(png, false);
  CheckMapping(png, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  // The header's sides stand at bytes 16 to 23 of every PNG the reader accepts.
  if (size >= 24 && std::uint64_t{BigEndian(data + 16)} * BigEndian(data + 20) > kMaxPixels) {
    return 0;
  }
  CheckReading({data, size});
  const std::vector<std::uint8_t> mended = WithRightCrcs(data, size);
  if (!std::equal(mended.begin(), mended.end(), data)) CheckReading(mended);
  return 0;
}
