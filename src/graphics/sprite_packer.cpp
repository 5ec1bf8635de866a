#include "graphics/sprite_packer.h"

#include "platform/little_endian.h"

namespace zorvane::graphics {

bool SpritePacker::Add(const PixelBuffer& pixels, bool useTransparency) {
  EncodeShpImage(pixels, useTransparency, image_);
  const std::uint64_t images = packOffsets_.size() + 1;
  const std::uint64_t fileSize = kShpFileHeaderSize + kShpImageEntrySize * images +
                                 packBuffer_.size() + kShpImageHeaderSize + image_.StreamLength;
  if (fileSize > kMaxFileSize) return false;
  packOffsets_.push_back(static_cast<std::uint32_t>(packBuffer_.size()));
  StoreShpImage(image_, packBuffer_);
  return true;
}

std::vector<std::uint8_t> SpritePacker::HeaderAndTable() const {
  const ShpFileHeader fileHeader;
  std::vector<std::uint8_t> out(fileHeader.Version.begin(), fileHeader.Version.end());
  out.reserve(kShpFileHeaderSize + kShpImageEntrySize * packOffsets_.size());
  platform::AppendInt32(out, ImageCount());
  const std::uint64_t tableEnd = kShpFileHeaderSize + kShpImageEntrySize * packOffsets_.size();
  for (const std::uint32_t offset : packOffsets_) {
    // Add() keeps every offset below kMaxFileSize.
    platform::AppendInt32(out, static_cast<std::int32_t>(tableEnd + offset));
    platform::AppendInt32(out, 0);
  }
  return out;
}

std::vector<std::uint8_t> SpritePacker::FileBytes() const {
  std::vector<std::uint8_t> file = HeaderAndTable();
  file.insert(file.end(), packBuffer_.begin(), packBuffer_.end());
  return file;
}

}  // namespace zorvane::graphics
