#include "graphics/bmp_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/file_system.h"
#include "platform/little_endian.h"

namespace zorvane::graphics {

namespace {

using platform::ReadInt32;
using platform::ReadUint16;
using platform::ReadUint32;

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::size_t PixelBytes(const BmpLayout& layout) {
  return static_cast<std::size_t>(Stride(layout.Width)) * static_cast<std::size_t>(layout.Height);
}

}  // namespace

BmpHeader ParseBmpHeader(std::span<const std::uint8_t, kBmpHeaderSize> bytes) {
  const std::uint8_t* b = bytes.data();
  BmpHeader header;
  header.bfType[0] = b[0];
  header.bfType[1] = b[1];
  header.bfSize = ReadUint32(b + 2);
  header.bfReserved = ReadUint32(b + 6);
  header.bfOffBits = ReadUint32(b + 10);
  header.biSize = ReadUint32(b + 14);
  header.biWidth = ReadInt32(b + 18);
  header.biHeight = ReadInt32(b + 22);
  header.biPlanes = ReadUint16(b + 26);
  header.biBitCount = ReadUint16(b + 28);
  header.biCompression = ReadUint32(b + 30);
  header.biSizeImage = ReadUint32(b + 34);
  header.biXPelsPerMeter = ReadInt32(b + 38);
  header.biYPelsPerMeter = ReadInt32(b + 42);
  header.biClrUsed = ReadUint32(b + 46);
  header.biClrImportant = ReadUint32(b + 50);
  return header;
}

std::optional<BmpLayout> CheckBmpHeader(std::span<const std::uint8_t> bytes,
                                        std::uint64_t fileLength) {
  if (bytes.size() < kBmpHeaderSize || fileLength < kBmpHeaderSize) return std::nullopt;
  const BmpHeader h = ParseBmpHeader(bytes.first<kBmpHeaderSize>());
  if (h.bfType[0] != 'B' || h.bfType[1] != 'M' || h.biBitCount != 8 || h.biCompression != 0) {
    return std::nullopt;
  }
  // A shorter information header has other fields at these places.
  if (h.biSize < kInfoHeaderSize) return std::nullopt;
  if (h.biWidth < 1 || h.biWidth > kMaxPictureSide || h.biHeight < 1 ||
      h.biHeight > kMaxPictureSide) {
    return std::nullopt;
  }
  const std::uint64_t entries = h.biClrUsed == 0 ? kPaletteEntries : h.biClrUsed;
  const std::uint64_t paletteEnd =
      std::uint64_t{kFileHeaderSize} + h.biSize + entries * kPaletteEntrySize;
  if (fileLength < paletteEnd) return std::nullopt;
  BmpLayout layout{h.biWidth, h.biHeight, paletteEnd};
  if (h.bfOffBits >= paletteEnd && h.bfOffBits < fileLength) layout.PixelOffset = h.bfOffBits;
  return layout;
}

bool ReadBmpPicture(std::span<const std::uint8_t> file, BmpHeader& header, PixelBuffer& pixels) {
  const auto layout = CheckBmpHeader(file, file.size());
  if (!layout) return false;
  header = ParseBmpHeader(file.first<kBmpHeaderSize>());
  ResetPixelBuffer(pixels, layout->Width, layout->Height);
  const std::size_t present =
      std::min<std::size_t>(PixelBytes(*layout), file.size() - layout->PixelOffset);
  std::memcpy(pixels.Bytes.data(), file.data() + layout->PixelOffset, present);
  return true;
}

bool ReadBmpFile(const platform::InputFile& file, BmpHeader& header, PixelBuffer& pixels) {
  std::uint8_t bytes[kBmpHeaderSize];
  const auto read = file.ReadSomeAt(0, bytes);
  if (!read || read.Value() < kBmpHeaderSize) return false;
  const auto layout = CheckBmpHeader(bytes, file.Length());
  if (!layout) return false;
  ResetPixelBuffer(pixels, layout->Width, layout->Height);
  // Bytes missing at the end of a short file stay 0.
  if (!file.ReadSomeAt(layout->PixelOffset, pixels.Bytes)) return false;
  header = ParseBmpHeader(bytes);
  return true;
}

bool ReadBmpFile(const std::string& path, BmpHeader& header, PixelBuffer& pixels) {
  const auto file = platform::InputFile::Open(path);
  return file && ReadBmpFile(file.Value(), header, pixels);
}

}  // namespace zorvane::graphics
