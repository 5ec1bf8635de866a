#include "graphics/act_palette_file.h"

namespace zorvane::graphics {

std::vector<std::uint8_t> ActPaletteBytes(const Palette& palette, bool showTransparency) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kActBytes);
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const PaletteEntry& entry =
        showTransparency && i == kTransparentIndex ? kTransparentPink : palette[i];
    bytes.insert(bytes.end(), {entry.Red, entry.Green, entry.Blue});
  }
  return bytes;
}

}  // namespace zorvane::graphics
