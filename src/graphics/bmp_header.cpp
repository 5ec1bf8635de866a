#include "graphics/bmp_header.h"

#include "platform/little_endian.h"

namespace zorvane::graphics {

std::int64_t Stride(std::int64_t width) {
  return (width + 3) / 4 * 4;
}

void SetBmpConstantFields(BmpHeader& header) {
  const BmpHeader defaults;
  header.bfType[0] = defaults.bfType[0];
  header.bfType[1] = defaults.bfType[1];
  header.bfReserved = defaults.bfReserved;
  header.bfOffBits = defaults.bfOffBits;
  header.biSize = defaults.biSize;
  header.biPlanes = defaults.biPlanes;
  header.biBitCount = defaults.biBitCount;
  header.biCompression = defaults.biCompression;
  header.biXPelsPerMeter = defaults.biXPelsPerMeter;
  header.biYPelsPerMeter = defaults.biYPelsPerMeter;
  header.biClrUsed = defaults.biClrUsed;
  header.biClrImportant = defaults.biClrImportant;
}

void SetBmpPictureSize(BmpHeader& header, std::int32_t width, std::int32_t height) {
  // A side is at most 32768 pixels, so the image is at most 1 GiB and fits the 32-bit fields.
  const auto imageSize = static_cast<std::uint32_t>(Stride(width) * height);
  header.biWidth = width;
  header.biHeight = height;
  header.biSizeImage = imageSize;
  header.bfSize = kBmpPixelOffset + imageSize;
}

std::vector<std::uint8_t> BmpFilePrefix(const BmpHeader& header, const Palette& palette) {
  using namespace platform;
  std::vector<std::uint8_t> out;
  out.reserve(kBmpPixelOffset);
  out.push_back(header.bfType[0]);
  out.push_back(header.bfType[1]);
  AppendUint32(out, header.bfSize);
  AppendUint32(out, header.bfReserved);
  AppendUint32(out, header.bfOffBits);
  AppendUint32(out, header.biSize);
  AppendInt32(out, header.biWidth);
  AppendInt32(out, header.biHeight);
  AppendUint16(out, header.biPlanes);
  AppendUint16(out, header.biBitCount);
  AppendUint32(out, header.biCompression);
  AppendUint32(out, header.biSizeImage);
  AppendInt32(out, header.biXPelsPerMeter);
  AppendInt32(out, header.biYPelsPerMeter);
  AppendUint32(out, header.biClrUsed);
  AppendUint32(out, header.biClrImportant);
  for (const PaletteEntry& entry : palette) {
    out.insert(out.end(), {entry.Blue, entry.Green, entry.Red, 0});
  }
  return out;
}

}  // namespace zorvane::graphics
