#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The sprite file (.SHP): "1.10", the number of sub-images, a table of their offsets, then each
// sub-image as a 24-byte header followed by its coded pixel stream. All numbers little-endian
// and signed. Every read here is checked against the bytes of the file.
namespace zorvane::graphics {

inline constexpr std::size_t kShpFileHeaderSize = 8;
inline constexpr std::size_t kShpImageEntrySize = 8;
inline constexpr std::size_t kShpImageHeaderSize = 24;
// A file of this many bytes or fewer holds no sub-image with a pixel stream.
inline constexpr std::size_t kShpTooShort = 40;
// An ImageOffset this small points into the file header or the table's first entry.
inline constexpr std::int32_t kShpSmallestImageOffset = 16;

struct ShpFileHeader {
  std::array<char, 4> Version{'1', '.', '1', '0'};
  std::int32_t ImageCount = 0;
};

struct ShpImageEntry {
  std::int32_t ImageOffset = 0;
  std::int32_t Reserved = 0;
};

struct ShpImageHeader {
  std::int16_t MaxRow = 0;     // height - 1
  std::int16_t MaxColumn = 0;  // width - 1
  std::int32_t Reserved = 0;
  // The coded box: first and last column and row, rows counted from the top.
  std::int32_t XStart = 0;
  std::int32_t YStart = 0;
  std::int32_t XEnd = 0;
  std::int32_t YEnd = 0;
};

// The box stored for a picture without visible pixels: FE FE FE 7F twice, FE FE FE 80 twice.
inline constexpr std::int32_t kEmptyMarkerStart = 0x7FFEFEFE;
inline constexpr std::int32_t kEmptyMarkerEnd = static_cast<std::int32_t>(0x80FEFEFEu);

// The header's box lies inside the picture (XEnd and YEnd may pass its right and bottom edge:
// the decoder clips them).
bool PassesBoundsTest(const ShpImageHeader& header);

// One sub-image as the file gives it.
struct ShpSubImage {
  ShpImageHeader Header;
  // Whether the header passed the bounds test; when not, the picture is fully transparent.
  bool HeaderValid = false;
  // From the byte after the header to the end of the file; the decoder reads 0 past its end.
  std::span<const std::uint8_t> Stream;
};

// Reads a sprite file held in memory.
class ShpFileReader {
 public:
  explicit ShpFileReader(std::span<const std::uint8_t> file);

  // The file header; its ImageCount is 0 when the file is shorter than 8 bytes.
  const ShpFileHeader& Header() const { return header_; }
  // Whether there is at least one sub-image and the whole table lies in the file.
  bool TableUsable() const;
  // Sub-image `index` (0 <= index < ImageCount of a usable table), or nothing when it is
  // rejected: the file is 40 bytes or shorter, its ImageOffset is below 16 or leaves no room
  // for the whole 24-byte header, its Reserved is negative, or its picture size is negative.
  std::optional<ShpSubImage> SubImage(std::int32_t index) const;

 private:
  std::span<const std::uint8_t> file_;
  ShpFileHeader header_;
};

}  // namespace zorvane::graphics
