#include "graphics/picture_state.h"

namespace zorvane::graphics {

void ResetPixelBuffer(PixelBuffer& pixels, std::int32_t width, std::int32_t height) {
  pixels.Width = width;
  pixels.Height = height;
  pixels.Stride = static_cast<std::int32_t>(Stride(width));
  pixels.Bytes.assign(static_cast<std::size_t>(pixels.Stride) * static_cast<std::size_t>(height),
                      0);
}

}  // namespace zorvane::graphics
