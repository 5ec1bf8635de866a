#pragma once

#include <cstdint>
#include <vector>

#include "graphics/bmp_header.h"
#include "graphics/palette.h"

namespace zorvane::graphics {

// The picture of a BMP: Stride bytes per row, row 0 the bottom row of the picture.
struct PixelBuffer {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::int32_t Stride = 0;
  std::vector<std::uint8_t> Bytes;

  std::uint8_t* Row(std::int32_t y) {
    return Bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride);
  }
  const std::uint8_t* Row(std::int32_t y) const {
    return Bytes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride);
  }
  std::uint8_t At(std::int32_t x, std::int32_t y) const {
    return Bytes[static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride) +
                 static_cast<std::size_t>(x)];
  }
};

// Makes the buffer width x height, every pixel `fill` and every pad byte 0. Keeps the
// allocation of the last picture when it is large enough.
void ResetPixelBuffer(PixelBuffer& pixels, std::int32_t width, std::int32_t height,
                      std::uint8_t fill = 0);

// The picture state of one session: what is written into the next BMP.
struct PictureState {
  graphics::BmpHeader BmpHeader;
  Palette BmpPalette{};
  graphics::PixelBuffer PixelBuffer;
};

}  // namespace zorvane::graphics
