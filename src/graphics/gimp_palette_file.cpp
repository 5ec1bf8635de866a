#include "graphics/gimp_palette_file.h"

#include <array>
#include <cstdio>

namespace zorvane::graphics {

std::string GimpPaletteText(std::string_view name, const Palette& palette, bool showTransparency) {
  std::string text = "GIMP Palette\nName: ";
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    text += code < 0x20 || code == 0x7F ? ' ' : c;
  }
  text += "\nColumns: 16\n#\n";
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const PaletteEntry& entry =
        showTransparency && i == kTransparentIndex ? kTransparentPink : palette[i];
    std::array<char, 32> line{};
    const int length =
        std::snprintf(line.data(), line.size(), "%3u %3u %3u\tIndex %zu\n", unsigned{entry.Red},
                      unsigned{entry.Green}, unsigned{entry.Blue}, i);
    text.append(line.data(), static_cast<std::size_t>(length));
  }
  return text;
}

}  // namespace zorvane::graphics
