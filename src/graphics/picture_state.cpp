#include "graphics/picture_state.h"

#include <cstring>

namespace zorvane::graphics {

void ResetPixelBuffer(PixelBuffer& pixels, std::int32_t width, std::int32_t height,
                      std::uint8_t fill) {
  pixels.Width = width;
  pixels.Height = height;
  pixels.Stride = static_cast<std::int32_t>(Stride(width));
  pixels.Bytes.assign(static_cast<std::size_t>(pixels.Stride) * static_cast<std::size_t>(height),
                      fill);
  if (fill == 0 || pixels.Stride == width) return;
  for (std::int32_t y = 0; y < height; ++y) {
    std::memset(pixels.Row(y) + width, 0, static_cast<std::size_t>(pixels.Stride - width));
  }
}

}  // namespace zorvane::graphics
