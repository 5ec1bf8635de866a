#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/picture_state.h"
#include "graphics/png_reader.h"
#include "graphics/rendering.h"
#include "platform/result.h"
#include "platform/ui.h"

// PNG files of palette pictures: 8-bit indexed, the picture's 256 colours in order as their
// palette.
namespace zorvane::graphics {

// The bytes of the PNG of `pixels` (row 0 the bottom row, as in a BMP) with `colours` as its
// palette; with `transparentIndex` a transparency chunk makes index 213, and only it, fully
// transparent. The text chunks are written before the pixels.
platform::Result<std::vector<std::uint8_t>> IndexedPngBytes(const PixelBuffer& pixels,
                                                            const Palette& colours,
                                                            bool transparentIndex,
                                                            const std::vector<PngText>& texts = {});

// A rendered picture's transparent pixels keep their colour (the DAY palette's pink): no
// transparency chunk is written, so every program shows the picture as the preview does.

// The bytes of the PNG file of `picture` (at least 1 x 1 pixels), or why it cannot be coded.
platform::Result<std::vector<std::uint8_t>> PngBytes(const RenderedPicture& picture);

// Writes the PNG file of `picture` to `path` whole or not at all, under the lock of its folder,
// and replaces an earlier file of that name. A failure's reason is the whole sentence for the
// user and names the file; the file is then as it was.
platform::Status WritePng(const std::string& path, const RenderedPicture& picture,
                          platform::Ui& ui);

}  // namespace zorvane::graphics
