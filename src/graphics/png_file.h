#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/rendering.h"
#include "platform/result.h"
#include "platform/ui.h"

// PNG files of rendered pictures: 8-bit indexed, the picture's 256 colours in order as their
// palette. A transparent pixel keeps its colour (the DAY palette's pink): no transparency chunk
// is written, so every program shows the picture as the preview does.
namespace zorvane::graphics {

// The bytes of the PNG file of `picture` (at least 1 x 1 pixels), or why it cannot be coded.
platform::Result<std::vector<std::uint8_t>> PngBytes(const RenderedPicture& picture);

// Writes the PNG file of `picture` to `path` whole or not at all, under the lock of its folder,
// and replaces an earlier file of that name. A failure's reason is the whole sentence for the
// user and names the file; the file is then as it was.
platform::Status WritePng(const std::string& path, const RenderedPicture& picture,
                          platform::Ui& ui);

}  // namespace zorvane::graphics
