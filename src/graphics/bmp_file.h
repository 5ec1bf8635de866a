#pragma once

#include "graphics/picture_state.h"
#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::graphics {

// Writes header, palette and pixels, the whole BMP, into `out`.
platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture);

}  // namespace zorvane::graphics
