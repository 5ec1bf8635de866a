#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/palette.h"
#include "graphics/picture_state.h"

// Pictures written as rows from the top, for tests of the BMP reader, the encoder and the
// repacking.
namespace zorvane::testing {

using Rows = std::vector<std::vector<int>>;

// The picture in BMP order (row 0 the bottom row). Pad bytes get `pad`, which no coder may
// read.
graphics::PixelBuffer PictureOf(const Rows& topDown, std::uint8_t pad = 0);

// A whole 8-bit BMP as the tool writes it: header, palette (entry i grey level i), pixels with
// zero pad bytes.
std::vector<std::uint8_t> BmpBytesOf(const Rows& topDown);

// The same BMP with one field of the header changed: `offset` into the file, `size` bytes.
std::vector<std::uint8_t> WithField(std::vector<std::uint8_t> bmp, std::size_t offset,
                                    std::size_t size, std::uint32_t value);

}  // namespace zorvane::testing
