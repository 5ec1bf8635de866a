#pragma once

#include <string>

#include "graphics/picture_state.h"
#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::graphics {

// Writes header, palette and pixels, the whole BMP, into `out`.
platform::Status WriteBmp(platform::SafeFileWriter& out, const PictureState& picture);

// Writes the BMP as a whole new file at `resolvedPath` (a path resolved already), replacing a
// file of that name; a failure leaves no part of the file behind.
platform::Status WriteBmpFile(const std::string& resolvedPath, const PictureState& picture);

}  // namespace zorvane::graphics
