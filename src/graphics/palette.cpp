#include "graphics/palette.h"

namespace zorvane::graphics {

Palette ParsePalette(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, kPaletteBytes> whole{};
  for (std::size_t i = 0; i < whole.size() && i < bytes.size(); ++i) whole[i] = bytes[i];
  Palette palette;
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const std::uint8_t* entry = whole.data() + i * kPaletteEntrySize;
    palette[i] = {entry[0], entry[1], entry[2], entry[3]};
  }
  return palette;
}

std::vector<std::uint8_t> SerialisePalette(const Palette& palette) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kPaletteBytes);
  for (const PaletteEntry& entry : palette) {
    bytes.insert(bytes.end(), {entry.Blue, entry.Green, entry.Red, entry.Spare});
  }
  return bytes;
}

}  // namespace zorvane::graphics
