#pragma once

#include <cstdint>
#include <vector>

#include "graphics/palette.h"

// The uncompressed 8-bit BMP the tool writes for every sub-image: the 54-byte header, the
// 256-entry palette and the rows of palette indices, bottom row first, each row padded with
// zeros to a multiple of 4 bytes.
namespace zorvane::graphics {

inline constexpr std::uint32_t kBmpHeaderSize = 54;
inline constexpr std::uint32_t kBmpPixelOffset = kBmpHeaderSize + kPaletteBytes;  // 1078

// BITMAPFILEHEADER and BITMAPINFOHEADER, under their standard names.
struct BmpHeader {
  std::uint8_t bfType[2] = {'B', 'M'};
  std::uint32_t bfSize = 0;
  std::uint32_t bfReserved = 0;  // bfReserved1 and bfReserved2
  std::uint32_t bfOffBits = kBmpPixelOffset;
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 8;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = kPaletteEntries;
  std::uint32_t biClrImportant = 0;
};

// The width rounded up to the next multiple of 4.
std::int64_t Stride(std::int64_t width);

// Sets the fields that are the same for every BMP of a sprite file.
void SetBmpConstantFields(BmpHeader& header);
// Sets the fields that depend on the picture's size.
void SetBmpPictureSize(BmpHeader& header, std::int32_t width, std::int32_t height);

// The 54 header bytes followed by the 1024 palette bytes (Spare written as 0): everything in
// front of the pixels.
std::vector<std::uint8_t> BmpFilePrefix(const BmpHeader& header, const Palette& palette);

}  // namespace zorvane::graphics
