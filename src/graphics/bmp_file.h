#pragma once

#include <cstdint>
#include <vector>

#include "graphics/picture_state.h"
#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::graphics {

// The whole BMP file of the picture: header, palette and pixels.
std::vector<std::uint8_t> BmpFileBytes(const PictureState& picture);

// Writes that file into `out` at once.
platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture);

}  // namespace zorvane::graphics
