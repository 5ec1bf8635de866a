#include "graphics/psp_palette_file.h"

#include <vector>

#include "platform/text_lines.h"

namespace zorvane::graphics {

std::string PspPaletteText(const Palette& palette, bool showTransparency) {
  std::vector<std::string> lines{"JASC-PAL", "0100", "256"};
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const PaletteEntry& entry =
        showTransparency && i == kTransparentIndex ? kTransparentPink : palette[i];
    lines.push_back(std::to_string(entry.Red) + " " + std::to_string(entry.Green) + " " +
                    std::to_string(entry.Blue));
  }
  return platform::TextFileContent(lines);
}

}  // namespace zorvane::graphics
