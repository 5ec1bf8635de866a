// Feeds arbitrary bytes as an edited BMP to the BMP reader, codes the picture it gives into a
// sprite file with and without transparency, and decodes it again: the picture must come back
// (transparent pixels as 213), whatever the bytes were.
#include <stdlib.h>

#include <cstdint>

#include "graphics/bmp_reader.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "graphics/sprite_packer.h"

namespace {

using namespace zorvane::graphics;

constexpr std::size_t kMaxInput = 64 * 1024;
// Sides up to 32768 are legal, but a picture of a gigabyte per input would only slow the
// fuzzer down; the coding is the same for smaller pictures.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 20;

void CheckRoundTrip(const PixelBuffer& picture, bool useTransparency) {
  SpritePacker packer;
  if (!packer.Add(picture, useTransparency)) abort();
  // A second sub-image keeps the file longer than the 40 bytes a usable file has at least.
  PixelBuffer dot;
  ResetPixelBuffer(dot, 1, 1);
  if (!packer.Add(dot, false)) abort();
  const std::vector<std::uint8_t> file = packer.FileBytes();
  const ShpFileReader reader(file);
  const auto image = reader.SubImage(0);
  if (!image) abort();
  PixelBuffer decoded;
  DecodeShpImage(*image, useTransparency, decoded);
  if (decoded.Width != picture.Width || decoded.Height != picture.Height) abort();
  for (std::int32_t y = 0; y < picture.Height; ++y) {
    for (std::int32_t x = 0; x < picture.Width; ++x) {
      // With transparency 213 is never coded, so the decoder never has to substitute it.
      if (decoded.At(x, y) != picture.At(x, y)) abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const auto layout = CheckBmpHeader({data, size}, size);
  if (!layout) return 0;
  if (std::int64_t{layout->Width} * layout->Height > kMaxPixels) return 0;
  BmpHeader header;
  PixelBuffer picture;
  if (!ReadBmpPicture({data, size}, header, picture)) abort();
  if (picture.Width != header.biWidth || picture.Height != header.biHeight) abort();
  CheckRoundTrip(picture, false);
  CheckRoundTrip(picture, true);
  return 0;
}
