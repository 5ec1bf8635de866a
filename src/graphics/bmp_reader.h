#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "graphics/bmp_header.h"
#include "graphics/picture_state.h"
#include "platform/file_system.h"

// Reads an edited BMP back into a picture: an uncompressed 8-bit Windows BMP, rows bottom-up,
// each padded to a multiple of 4 bytes.
namespace zorvane::graphics {

// The largest width and height a sub-image can have (MaxColumn and MaxRow are 16-bit).
inline constexpr std::int32_t kMaxPictureSide = 32768;

// Where a BMP's pixels are and how many there are.
struct BmpLayout {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::uint64_t PixelOffset = kBmpPixelOffset;
};

// Tests the first 54 bytes of a BMP of `fileLength` bytes (fewer than 54 bytes: refused).
// The file is usable when it starts with "BM" (upper case), has 8 bits per pixel, no
// compression, an information header of at least 40 bytes, a width and height of 1 to 32768,
// and holds its header and the palette the header announces (biClrUsed entries, 256 for 0).
// The pixels start at bfOffBits when that lies inside the file and not before the end of the
// palette, else right after the palette (offset 1078 for the BMPs the tool writes).
std::optional<BmpLayout> CheckBmpHeader(std::span<const std::uint8_t> header,
                                        std::uint64_t fileLength);

// The header fields as they stand in the first 54 bytes.
BmpHeader ParseBmpHeader(std::span<const std::uint8_t, kBmpHeaderSize> bytes);

// Reads a BMP held in memory: on success fills `header` and makes `pixels` stride x height
// bytes from the layout's offset, row 0 the bottom row, pad bytes as the file has them and
// zeros where the file ends. Returns false, changing nothing, for a file CheckBmpHeader
// refuses.
bool ReadBmpPicture(std::span<const std::uint8_t> file, BmpHeader& header, PixelBuffer& pixels);

// The same for an opened file, read in place: a file that cannot be read is refused too, and
// may leave `pixels` changed. `pixels` keeps its allocation from file to file.
bool ReadBmpFile(const platform::InputFile& file, BmpHeader& header, PixelBuffer& pixels);
// The same for the file at `path`; a file that cannot be opened is refused.
bool ReadBmpFile(const std::string& path, BmpHeader& header, PixelBuffer& pixels);

}  // namespace zorvane::graphics
