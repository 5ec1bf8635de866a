#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_system.h"

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

class ShpFileReader;

// The pixel stream of a sub-image: the bytes from the one after its header to the end of the
// sprite file. Its length is not known in advance (the decoder reads up to its end codes), so
// it is handed out piece by piece; past the end of the file it has no more bytes.
class ShpPixelStream {
 public:
  ShpPixelStream() = default;
  ShpPixelStream(const ShpFileReader& reader, std::uint64_t start)
      : reader_(&reader), start_(start) {}

  // The bytes of the stream from `position` on, as many as are at hand: at least one unless
  // the stream ends there. The piece stays valid until the next call on the same reader.
  std::span<const std::uint8_t> From(std::uint64_t position) const;

 private:
  const ShpFileReader* reader_ = nullptr;
  std::uint64_t start_ = 0;
};

// One sub-image as the file gives it. It reads its stream through the reader it came from,
// which must outlive it.
struct ShpSubImage {
  ShpImageHeader Header;
  // Whether the header passed the bounds test; when not, the picture is fully transparent.
  bool HeaderValid = false;
  // The decoder reads 0 past its end.
  ShpPixelStream Stream;
};

// The most bytes of a sprite file that a reader on a file holds at a time, for the pixel
// streams; the table is read in pieces of at most kShpTableWindowSize.
inline constexpr std::size_t kShpWindowSize = 64 * 1024;
inline constexpr std::size_t kShpTableWindowSize = 4 * 1024;

// Reads a sprite file, held in memory or as a range of a file (a member of an archive). A file
// is read on demand: the table and each sub-image when asked for, the pixel streams through a
// window of bounded size, so that a sprite file of any size needs the same little memory.
class ShpFileReader {
 public:
  explicit ShpFileReader(std::span<const std::uint8_t> file);
  // The `length` bytes of `file` from `start` on (which the caller has checked exist); the
  // window size may be set smaller for tests.
  ShpFileReader(const platform::InputFile& file, std::uint64_t start, std::uint64_t length,
                std::size_t windowSize = kShpWindowSize);
  ShpFileReader(const ShpFileReader&) = delete;
  ShpFileReader& operator=(const ShpFileReader&) = delete;

  // Another reader of the same bytes, for another thread: a reader keeps windows of its own and
  // is used by one thread at a time.
  std::unique_ptr<ShpFileReader> Twin() const;

  // The file header; its ImageCount is 0 when the file is shorter than 8 bytes.
  const ShpFileHeader& Header() const { return header_; }
  // Whether there is at least one sub-image and the whole table lies in the file.
  bool TableUsable() const;
  // Sub-image `index` (0 <= index < ImageCount of a usable table), or nothing when it is
  // rejected: the file is 40 bytes or shorter, its ImageOffset is below 16 or leaves no room
  // for the whole 24-byte header, its Reserved is negative, or its picture size is negative.
  std::optional<ShpSubImage> SubImage(std::int32_t index) const;

  // The bytes of the sprite file from `offset` on, as many as are at hand: the rest of a file
  // in memory, up to a window of one on disk. Empty from the end of the file on.
  std::span<const std::uint8_t> BytesFrom(std::uint64_t offset) const;
  // Why reading the file failed, when it did; the reader then took the file as ending there.
  // Nothing can fail for a file in memory.
  const std::optional<std::string>& ReadFailure() const { return readFailure_; }

 private:
  // Bytes of a file on disk held by the reader: `Length` of them from `Start`.
  struct Window {
    std::vector<std::uint8_t> Bytes;
    std::uint64_t Start = 0;
    std::size_t Length = 0;
  };
  std::span<const std::uint8_t> Piece(Window& window, std::uint64_t offset) const;
  // Exactly `out.size()` bytes from `offset`; false when the file ends before.
  bool Read(Window& window, std::uint64_t offset, std::span<std::uint8_t> out) const;

  std::span<const std::uint8_t> memory_;
  const platform::InputFile* file_ = nullptr;
  std::uint64_t start_ = 0;
  std::uint64_t length_ = 0;
  mutable Window table_;
  mutable Window images_;
  mutable std::optional<std::string> readFailure_;
  ShpFileHeader header_;
};

}  // namespace zorvane::graphics
