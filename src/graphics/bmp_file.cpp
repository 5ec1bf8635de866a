#include "graphics/bmp_file.h"

namespace zorvane::graphics {

platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture) {
  if (auto written = out.Write(BmpFilePrefix(picture.BmpHeader, picture.BmpPalette)); !written) {
    return written;
  }
  return out.Write(picture.PixelBuffer.Bytes);
}

}  // namespace zorvane::graphics
