#include "graphics/sprite_format.h"

#include "platform/little_endian.h"

namespace zorvane::graphics {

using platform::ReadInt16;
using platform::ReadInt32;

bool PassesBoundsTest(const ShpImageHeader& h) {
  return h.XStart >= 0 && h.XStart <= h.MaxColumn && h.XStart <= h.XEnd && h.YStart >= 0 &&
         h.YStart <= h.MaxRow && h.YStart <= h.YEnd && h.XEnd >= 0 && h.YEnd >= 0 &&
         h.MaxColumn >= 0 && h.MaxRow >= 0;
}

ShpFileReader::ShpFileReader(std::span<const std::uint8_t> file) : file_(file) {
  if (file_.size() >= kShpFileHeaderSize) {
    for (std::size_t i = 0; i < header_.Version.size(); ++i) {
      header_.Version[i] = static_cast<char>(file_[i]);
    }
    header_.ImageCount = ReadInt32(file_.data() + 4);
  }
}

bool ShpFileReader::TableUsable() const {
  if (header_.ImageCount < 1) return false;
  const std::uint64_t tableEnd =
      kShpFileHeaderSize + kShpImageEntrySize * static_cast<std::uint64_t>(header_.ImageCount);
  return tableEnd <= file_.size();
}

std::optional<ShpSubImage> ShpFileReader::SubImage(std::int32_t index) const {
  if (!TableUsable() || index < 0 || index >= header_.ImageCount) return std::nullopt;
  if (file_.size() <= kShpTooShort) return std::nullopt;
  const std::uint8_t* entryBytes =
      file_.data() + kShpFileHeaderSize + kShpImageEntrySize * static_cast<std::size_t>(index);
  const ShpImageEntry entry{ReadInt32(entryBytes), ReadInt32(entryBytes + 4)};
  if (entry.ImageOffset < kShpSmallestImageOffset || entry.Reserved < 0) return std::nullopt;
  const auto offset = static_cast<std::size_t>(entry.ImageOffset);
  if (offset > file_.size() || file_.size() - offset < kShpImageHeaderSize) return std::nullopt;

  const std::uint8_t* bytes = file_.data() + offset;
  ShpSubImage image;
  ShpImageHeader& h = image.Header;
  h.MaxRow = ReadInt16(bytes);
  h.MaxColumn = ReadInt16(bytes + 2);
  h.Reserved = ReadInt32(bytes + 4);
  h.XStart = ReadInt32(bytes + 8);
  h.YStart = ReadInt32(bytes + 12);
  h.XEnd = ReadInt32(bytes + 16);
  h.YEnd = ReadInt32(bytes + 20);
  // No picture size can be made from a negative one.
  if (h.MaxRow < 0 || h.MaxColumn < 0) return std::nullopt;
  image.HeaderValid = PassesBoundsTest(h);
  image.Stream = file_.subspan(offset + kShpImageHeaderSize);
  return image;
}

}  // namespace zorvane::graphics
