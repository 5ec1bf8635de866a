#include "graphics/sprite_format.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace zorvane::graphics {

using platform::ReadInt16;
using platform::ReadInt32;

bool PassesBoundsTest(const ShpImageHeader& h) {
  return h.XStart >= 0 && h.XStart <= h.MaxColumn && h.XStart <= h.XEnd && h.YStart >= 0 &&
         h.YStart <= h.MaxRow && h.YStart <= h.YEnd && h.XEnd >= 0 && h.YEnd >= 0 &&
         h.MaxColumn >= 0 && h.MaxRow >= 0;
}

std::span<const std::uint8_t> ShpPixelStream::From(std::uint64_t position) const {
  if (reader_ == nullptr) return {};
  return reader_->BytesFrom(start_ + position);
}

namespace {

ShpFileHeader HeaderOf(std::span<const std::uint8_t> bytes) {
  ShpFileHeader header;
  for (std::size_t i = 0; i < header.Version.size(); ++i) {
    header.Version[i] = static_cast<char>(bytes[i]);
  }
  header.ImageCount = ReadInt32(bytes.data() + 4);
  return header;
}

}  // namespace

ShpFileReader::ShpFileReader(std::span<const std::uint8_t> file)
    : memory_(file), length_(file.size()) {
  if (length_ >= kShpFileHeaderSize) header_ = HeaderOf(memory_);
}

ShpFileReader::ShpFileReader(const platform::InputFile& file, std::uint64_t start,
                             std::uint64_t length, std::size_t windowSize)
    : file_(&file), start_(start), length_(length) {
  const std::size_t size = std::max<std::size_t>(windowSize, 1);
  images_.Bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, length)));
  table_.Bytes.resize(std::min(size, kShpTableWindowSize));
  std::array<std::uint8_t, kShpFileHeaderSize> bytes{};
  if (Read(table_, 0, bytes)) header_ = HeaderOf(bytes);
}

std::unique_ptr<ShpFileReader> ShpFileReader::Twin() const {
  if (file_ == nullptr) return std::make_unique<ShpFileReader>(memory_);
  return std::make_unique<ShpFileReader>(*file_, start_, length_, images_.Bytes.size());
}

std::span<const std::uint8_t> ShpFileReader::Piece(Window& window, std::uint64_t offset) const {
  if (offset >= length_) return {};
  if (file_ == nullptr) return memory_.subspan(static_cast<std::size_t>(offset));
  if (offset < window.Start || offset - window.Start >= window.Length) {
    window.Start = offset;
    window.Length = 0;
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(window.Bytes.size(), length_ - offset));
    auto got = file_->ReadSomeAt(start_ + offset, std::span(window.Bytes.data(), wanted));
    if (!got || got.Value() == 0) {
      // What cannot be read is taken as the end of the file; the caller learns why.
      if (!readFailure_) readFailure_ = got ? "The file ends too early" : got.Reason();
      return {};
    }
    window.Length = got.Value();
  }
  const auto skip = static_cast<std::size_t>(offset - window.Start);
  return std::span<const std::uint8_t>(window.Bytes.data() + skip, window.Length - skip);
}

bool ShpFileReader::Read(Window& window, std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    const auto piece = Piece(window, offset + done);
    if (piece.empty()) return false;
    const std::size_t n = std::min(piece.size(), out.size() - done);
    std::memcpy(out.data() + done, piece.data(), n);
    done += n;
  }
  return true;
}

std::span<const std::uint8_t> ShpFileReader::BytesFrom(std::uint64_t offset) const {
  return Piece(images_, offset);
}

bool ShpFileReader::TableUsable() const {
  if (header_.ImageCount < 1) return false;
  const std::uint64_t tableEnd =
      kShpFileHeaderSize + kShpImageEntrySize * static_cast<std::uint64_t>(header_.ImageCount);
  return tableEnd <= length_;
}

std::optional<ShpSubImage> ShpFileReader::SubImage(std::int32_t index) const {
  if (!TableUsable() || index < 0 || index >= header_.ImageCount) return std::nullopt;
  if (length_ <= kShpTooShort) return std::nullopt;
  std::array<std::uint8_t, kShpImageEntrySize> entryBytes{};
  if (!Read(table_, kShpFileHeaderSize + kShpImageEntrySize * static_cast<std::uint64_t>(index),
            entryBytes)) {
    return std::nullopt;
  }
  const ShpImageEntry entry{ReadInt32(entryBytes.data()), ReadInt32(entryBytes.data() + 4)};
  if (entry.ImageOffset < kShpSmallestImageOffset || entry.Reserved < 0) return std::nullopt;
  const auto offset = static_cast<std::uint64_t>(entry.ImageOffset);
  if (offset > length_ || length_ - offset < kShpImageHeaderSize) return std::nullopt;

  std::array<std::uint8_t, kShpImageHeaderSize> bytes{};
  if (!Read(images_, offset, bytes)) return std::nullopt;
  ShpSubImage image;
  ShpImageHeader& h = image.Header;
  h.MaxRow = ReadInt16(bytes.data());
  h.MaxColumn = ReadInt16(bytes.data() + 2);
  h.Reserved = ReadInt32(bytes.data() + 4);
  h.XStart = ReadInt32(bytes.data() + 8);
  h.YStart = ReadInt32(bytes.data() + 12);
  h.XEnd = ReadInt32(bytes.data() + 16);
  h.YEnd = ReadInt32(bytes.data() + 20);
  // No picture size can be made from a negative one.
  if (h.MaxRow < 0 || h.MaxColumn < 0) return std::nullopt;
  image.HeaderValid = PassesBoundsTest(h);
  image.Stream = ShpPixelStream(*this, offset + kShpImageHeaderSize);
  return image;
}

}  // namespace zorvane::graphics
