#pragma once

#include <cstdint>
#include <vector>

#include "graphics/bmp_header.h"
#include "graphics/picture_state.h"
#include "platform/little_endian.h"

// Sprite files made by hand, field by field, for tests of the reader and the decoder.
namespace zorvane::testing {

struct HandMadeSubImage {
  std::int16_t MaxRow = 0;
  std::int16_t MaxColumn = 0;
  std::int32_t XStart = 0;
  std::int32_t YStart = 0;
  std::int32_t XEnd = 0;
  std::int32_t YEnd = 0;
  std::vector<std::uint8_t> Stream;
};

// The 24-byte header followed by the stream.
inline std::vector<std::uint8_t> SubImageBytes(const HandMadeSubImage& image) {
  std::vector<std::uint8_t> out;
  platform::AppendInt16(out, image.MaxRow);
  platform::AppendInt16(out, image.MaxColumn);
  platform::AppendInt32(out, 0);
  platform::AppendInt32(out, image.XStart);
  platform::AppendInt32(out, image.YStart);
  platform::AppendInt32(out, image.XEnd);
  platform::AppendInt32(out, image.YEnd);
  out.insert(out.end(), image.Stream.begin(), image.Stream.end());
  return out;
}

// "1.10", the count, the table (each offset pointing at its sub-image), the sub-images.
inline std::vector<std::uint8_t> SpriteFileOf(const std::vector<HandMadeSubImage>& images) {
  std::vector<std::uint8_t> file{'1', '.', '1', '0'};
  platform::AppendInt32(file, static_cast<std::int32_t>(images.size()));
  std::vector<std::uint8_t> body;
  const std::size_t tableEnd = 8 + 8 * images.size();
  for (const HandMadeSubImage& image : images) {
    platform::AppendInt32(file, static_cast<std::int32_t>(tableEnd + body.size()));
    platform::AppendInt32(file, 0);
    const auto bytes = SubImageBytes(image);
    body.insert(body.end(), bytes.begin(), bytes.end());
  }
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// The visible pixels of a picture, top row first (the bottom-up rows turned over).
inline std::vector<std::vector<int>> TopDownGrid(const graphics::PixelBuffer& pixels) {
  std::vector<std::vector<int>> grid;
  for (std::int32_t y = pixels.Height - 1; y >= 0; --y) {
    std::vector<int> row;
    for (std::int32_t x = 0; x < pixels.Width; ++x) row.push_back(pixels.At(x, y));
    grid.push_back(row);
  }
  return grid;
}

}  // namespace zorvane::testing
