#include "graphics/bmp_file.h"

namespace zorvane::graphics {

platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture) {
  if (auto written = out.Write(BmpFilePrefix(picture.BmpHeader, picture.BmpPalette)); !written) {
    return written;
  }
  return out.Write(picture.PixelBuffer.Bytes);
}

platform::Status WriteBmpFile(const std::string& resolvedPath, const PictureState& picture) {
  auto writer =
      platform::SafeFileWriter::CreateResolved(resolvedPath, platform::Durability::Unsynced);
  if (!writer) return platform::Status::Failure(writer.Reason());
  if (auto written = WriteBmp(writer.Value(), picture); !written) return written;
  return writer.Value().Commit();
}

}  // namespace zorvane::graphics
