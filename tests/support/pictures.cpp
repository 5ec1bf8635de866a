#include "support/pictures.h"

#include "graphics/bmp_header.h"
#include "support/files.h"

namespace zorvane::testing {

graphics::PixelBuffer PictureOf(const Rows& topDown, std::uint8_t pad) {
  graphics::PixelBuffer pixels;
  const auto height = static_cast<std::int32_t>(topDown.size());
  const auto width = static_cast<std::int32_t>(topDown.at(0).size());
  graphics::ResetPixelBuffer(pixels, width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::vector<int>& row = topDown[static_cast<std::size_t>(height - 1 - y)];
    for (std::int32_t x = 0; x < pixels.Stride; ++x) {
      pixels.Row(y)[x] = x < width ? static_cast<std::uint8_t>(row.at(x)) : pad;
    }
  }
  return pixels;
}

std::vector<std::uint8_t> BmpBytesOf(const Rows& topDown) {
  const graphics::PixelBuffer pixels = PictureOf(topDown);
  graphics::BmpHeader header;
  graphics::SetBmpPictureSize(header, pixels.Width, pixels.Height);
  graphics::Palette palette{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const auto level = static_cast<std::uint8_t>(i);
    palette[i] = {level, level, level, 0};
  }
  std::vector<std::uint8_t> bmp = graphics::BmpFilePrefix(header, palette);
  bmp.insert(bmp.end(), pixels.Bytes.begin(), pixels.Bytes.end());
  return bmp;
}

std::vector<std::uint8_t> WithField(std::vector<std::uint8_t> bmp, std::size_t offset,
                                    std::size_t size, std::uint32_t value) {
  for (std::size_t i = 0; i < size; ++i) {
    bmp.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  }
  return bmp;
}

}  // namespace zorvane::testing
