#include "graphics/bmp_file.h"

#include "platform/safe_file.h"

namespace zorvane::graphics {

platform::Status WriteBmpFile(const std::string& resolvedPath, const PictureState& picture) {
  auto writer =
      platform::SafeFileWriter::CreateResolved(resolvedPath, platform::Durability::Unsynced);
  if (!writer) return platform::Status::Failure(writer.Reason());
  if (auto written = writer.Value().Write(BmpFilePrefix(picture.BmpHeader, picture.BmpPalette));
      !written) {
    return written;
  }
  if (auto written = writer.Value().Write(picture.PixelBuffer.Bytes); !written) return written;
  return writer.Value().Commit();
}

}  // namespace zorvane::graphics
