// Feeds arbitrary bytes as a whole sprite file to the sprite reader and the decoder, the way
// the conversion into BMPs reads an extracted member, and checks the pictures it makes.
#include <stdlib.h>

#include <cstdint>

#include "graphics/bmp_header.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;
// Sizes up to 32768 x 32768 are legal, but a picture of a gigabyte per input would only slow
// the fuzzer down; the size arithmetic is the same for smaller pictures.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 22;

void CheckPicture(const zorvane::graphics::ShpSubImage& image,
                  const zorvane::graphics::PixelBuffer& pixels, bool useTransparency) {
  using namespace zorvane::graphics;
  const std::int32_t width = image.Header.MaxColumn + 1;
  const std::int32_t height = image.Header.MaxRow + 1;
  if (pixels.Width != width || pixels.Height != height || pixels.Stride != Stride(width) ||
      pixels.Bytes.size() != static_cast<std::size_t>(pixels.Stride) * height) {
    abort();
  }
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < pixels.Stride; ++x) {
      const std::uint8_t pixel = pixels.At(x, y);
      if (x >= width && pixel != 0) abort();  // pad bytes
      // Without a valid box the picture is all transparent.
      if (x < width && !image.HeaderValid && pixel != (useTransparency ? kTransparentIndex : 0)) {
        abort();
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  using namespace zorvane::graphics;
  const ShpFileReader reader({data, size});
  if (!reader.TableUsable()) return 0;
  PixelBuffer pixels;
  BmpHeader header;
  for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
    const auto image = reader.SubImage(i);
    if (!image) continue;
    const std::int64_t area =
        std::int64_t{image->Header.MaxColumn + 1} * (image->Header.MaxRow + 1);
    if (area > kMaxPixels) continue;
    const bool useTransparency = i % 2 == 0;
    DecodeShpImage(*image, useTransparency, pixels);
    CheckPicture(*image, pixels, useTransparency);
    SetBmpPictureSize(header, pixels.Width, pixels.Height);
    if (header.bfSize != kBmpPixelOffset + pixels.Bytes.size()) abort();
  }
  return 0;
}
