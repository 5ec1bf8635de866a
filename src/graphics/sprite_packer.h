#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/picture_state.h"
#include "graphics/sprite_encoder.h"

namespace zorvane::graphics {

// Builds a sprite file picture by picture: each picture is coded and its sub-image appended
// to PackBuffer; the file is "1.10", the count, the table of offsets, then PackBuffer.
class SpritePacker {
 public:
  // The largest sprite file: every offset of the table is a signed 32-bit number.
  static constexpr std::uint64_t kMaxFileSize = 0x7FFFFFFF;

  // Codes the picture (see EncodeShpImage) and appends its sub-image. Returns false, adding
  // nothing, when the file would grow past kMaxFileSize.
  bool Add(const PixelBuffer& pixels, bool useTransparency);

  std::int32_t ImageCount() const { return static_cast<std::int32_t>(packOffsets_.size()); }
  // The file header and the table: sub-image i at 8 + 8 x ImageCount + its place in
  // PackBuffer.
  std::vector<std::uint8_t> HeaderAndTable() const;
  std::span<const std::uint8_t> PackBuffer() const { return packBuffer_; }
  // The whole file.
  std::vector<std::uint8_t> FileBytes() const;

 private:
  EncodedImage image_;
  std::vector<std::uint8_t> packBuffer_;
  std::vector<std::uint32_t> packOffsets_;
};

}  // namespace zorvane::graphics
