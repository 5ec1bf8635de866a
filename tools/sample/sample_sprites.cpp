#include "sample/sample_sprites.h"

#include <algorithm>

#include "graphics/picture_state.h"
#include "graphics/sprite_packer.h"

namespace zorvane::sample {

namespace {

// The picture in the order of a BMP: row 0 the bottom row.
void ToPixelBuffer(const Picture& picture, graphics::PixelBuffer& pixels) {
  graphics::ResetPixelBuffer(pixels, picture.Width, picture.Height);
  for (int y = 0; y < picture.Height; ++y) {
    const auto* row = picture.Pixels.data() + static_cast<std::size_t>(y) * picture.Width;
    std::copy(row, row + picture.Width, pixels.Row(picture.Height - 1 - y));
  }
}

}  // namespace

std::vector<std::uint8_t> SpriteFile(const std::vector<Picture>& pictures, bool transparency) {
  graphics::SpritePacker packer;
  graphics::PixelBuffer pixels;
  for (const Picture& picture : pictures) {
    ToPixelBuffer(picture, pixels);
    // The sample's sprites are far below the 2 GB a sprite file can hold.
    if (!packer.Add(pixels, transparency)) return {};
  }
  return packer.FileBytes();
}

}  // namespace zorvane::sample
