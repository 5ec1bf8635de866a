#include "sample/sample_sprites.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace zorvane::sample {

namespace {

constexpr int kMaxLiteral = 127;
constexpr int kMaxSkip = 255;

// The coded box covers the whole picture; every row is coded as transparent gaps (code 1),
// literal strings (odd codes) and the end code 0, which also stands for a gap at the row's end.
void AppendRow(std::vector<std::uint8_t>& out, const Picture& picture, int y, bool transparency) {
  const auto transparent = [&](int x) { return transparency && picture.At(x, y) == kTransparent; };
  int x = 0;
  while (x < picture.Width) {
    const int start = x;
    if (transparent(x)) {
      while (x < picture.Width && transparent(x)) ++x;
      if (x == picture.Width) break;
      for (int left = x - start; left > 0; left -= kMaxSkip) {
        out.push_back(1);
        out.push_back(static_cast<std::uint8_t>(std::min(left, kMaxSkip)));
      }
    } else {
      while (x < picture.Width && !transparent(x)) ++x;
      for (int from = start; from < x; from += kMaxLiteral) {
        const int count = std::min(x - from, kMaxLiteral);
        out.push_back(static_cast<std::uint8_t>(2 * count + 1));
        for (int i = 0; i < count; ++i) out.push_back(picture.At(from + i, y));
      }
    }
  }
  out.push_back(0);
}

std::vector<std::uint8_t> SubImage(const Picture& picture, bool transparency) {
  std::vector<std::uint8_t> out;
  platform::AppendInt16(out, static_cast<std::int16_t>(picture.Height - 1));
  platform::AppendInt16(out, static_cast<std::int16_t>(picture.Width - 1));
  platform::AppendInt32(out, 0);
  platform::AppendInt32(out, 0);
  platform::AppendInt32(out, 0);
  platform::AppendInt32(out, picture.Width - 1);
  platform::AppendInt32(out, picture.Height - 1);
  for (int y = 0; y < picture.Height; ++y) AppendRow(out, picture, y, transparency);
  return out;
}

}  // namespace

std::vector<std::uint8_t> SpriteFile(const std::vector<Picture>& pictures, bool transparency) {
  std::vector<std::uint8_t> file{'1', '.', '1', '0'};
  platform::AppendInt32(file, static_cast<std::int32_t>(pictures.size()));
  const std::size_t tableEnd = file.size() + 8 * pictures.size();
  std::vector<std::uint8_t> images;
  for (const Picture& picture : pictures) {
    platform::AppendInt32(file, static_cast<std::int32_t>(tableEnd + images.size()));
    platform::AppendInt32(file, 0);
    const auto image = SubImage(picture, transparency);
    images.insert(images.end(), image.begin(), image.end());
  }
  file.insert(file.end(), images.begin(), images.end());
  return file;
}

}  // namespace zorvane::sample
