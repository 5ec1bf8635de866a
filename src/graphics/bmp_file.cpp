#include "graphics/bmp_file.h"

namespace zorvane::graphics {

std::vector<std::uint8_t> BmpFileBytes(const PictureState& picture) {
  std::vector<std::uint8_t> bytes = BmpFilePrefix(picture.BmpHeader, picture.BmpPalette);
  bytes.insert(bytes.end(), picture.PixelBuffer.Bytes.begin(), picture.PixelBuffer.Bytes.end());
  return bytes;
}

platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture) {
  return out.Write(BmpFileBytes(picture));
}

}  // namespace zorvane::graphics
