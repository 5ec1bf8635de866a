#pragma once

#include <cstdint>
#include <vector>

#include "graphics/palette_state.h"
#include "graphics/picture_state.h"

// A picture as the preview shows it, the same for the window and the command line.
namespace zorvane::graphics {

inline constexpr int kSmallestZoom = 1;
inline constexpr int kLargestZoom = 16;

// A sub-image shown with a palette: `Pixels` are palette indices, `Width` per row, the top row
// first; `Colours` the palette, Spare 0.
struct RenderedPicture {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<std::uint8_t> Pixels;
  Palette Colours{};
  // Whether index 213 stands for a transparent pixel (its colour is then the pink).
  bool UsesTransparency = false;
};

// Whether a sub-image shown with palette `id` has transparent pixels: as for its BMP, only
// with DAY.
bool ShowsTransparency(PaletteId id);

// The most pixels a rendered picture may hold (a 16 times enlarged picture of 4096 x 4096).
inline constexpr std::uint64_t kMostRenderedPixels = std::uint64_t{1} << 30;

// The picture of `pixels` (bottom row first, as decoded) with every pixel a `zoom` x `zoom`
// square (zoom 1 to 16), top row first, in the colours of its BMP with palette `id`. Nothing (Width
// 0) when it would be larger than kMostRenderedPixels.
RenderedPicture RenderPicture(const PixelBuffer& pixels, const PaletteState& palettes, PaletteId id,
                              int zoom);

}  // namespace zorvane::graphics
