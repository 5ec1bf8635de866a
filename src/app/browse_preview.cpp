#include "app/browse_preview.h"

#include <cstdio>

#include "platform/text_lines.h"

namespace zorvane::app {

std::string HexDump(std::span<const std::uint8_t> bytes) {
  std::string dump;
  constexpr std::size_t kPerLine = 16;
  for (std::size_t line = 0; line < bytes.size(); line += kPerLine) {
    char offset[32];
    std::snprintf(offset, sizeof offset, "%08zX  ", line);
    dump += offset;
    std::string characters;
    for (std::size_t i = line; i < line + kPerLine; ++i) {
      if (i < bytes.size()) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X ", bytes[i]);
        dump += hex;
        characters += bytes[i] >= 32 && bytes[i] <= 126 ? static_cast<char>(bytes[i]) : '.';
      } else {
        dump += "   ";
      }
    }
    dump += ' ';
    dump += characters;
    dump += '\n';
  }
  return dump;
}

std::string TextOfMember(std::span<const std::uint8_t> bytes) {
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string text;
  text.reserve(raw.size());
  platform::TextLineReader lines(raw);
  while (!lines.AtEnd()) {
    text += lines.Next();
    text += '\n';
  }
  return text;
}

std::string SubImageDescription(const graphics::ShownSubImage& image) {
  const graphics::ShpImageHeader& h = image.Header;
  std::string text = "Size: " + std::to_string(h.MaxColumn + 1) + " x " +
                     std::to_string(h.MaxRow + 1) + "\nBox: " + std::to_string(h.XStart) + ", " +
                     std::to_string(h.YStart) + ", " + std::to_string(h.XEnd) + ", " +
                     std::to_string(h.YEnd) +
                     "\nCoded length: " + std::to_string(image.CodedLength) + " bytes\n";
  if (!image.HeaderValid) {
    text += "Not valid: the box lies outside the picture, so it is shown transparent.\n";
  }
  return text;
}

}  // namespace zorvane::app
