#include "graphics/rendering.h"

#include <algorithm>
#include <cstring>

namespace zorvane::graphics {

bool ShowsTransparency(PaletteId id) {
  return id == PaletteId::Day;
}

RenderedPicture RenderPicture(const PixelBuffer& pixels, const PaletteState& palettes, PaletteId id,
                              int zoom) {
  RenderedPicture picture;
  picture.Colours = BmpColours(palettes, id);
  picture.UsesTransparency = ShowsTransparency(id);
  zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
  const std::uint64_t width = static_cast<std::uint64_t>(pixels.Width) * zoom;
  const std::uint64_t height = static_cast<std::uint64_t>(pixels.Height) * zoom;
  if (width * height > kMostRenderedPixels) return picture;
  picture.Width = static_cast<std::int32_t>(width);
  picture.Height = static_cast<std::int32_t>(height);
  picture.Pixels.resize(static_cast<std::size_t>(width * height));
  std::uint8_t* out = picture.Pixels.data();
  for (std::int32_t y = pixels.Height - 1; y >= 0; --y) {
    const std::uint8_t* row = pixels.Row(y);
    std::uint8_t* first = out;
    for (std::int32_t x = 0; x < pixels.Width; ++x) {
      std::memset(out, row[x], static_cast<std::size_t>(zoom));
      out += zoom;
    }
    for (int copy = 1; copy < zoom; ++copy) {
      std::memcpy(out, first, static_cast<std::size_t>(width));
      out += width;
    }
  }
  return picture;
}

}  // namespace zorvane::graphics
