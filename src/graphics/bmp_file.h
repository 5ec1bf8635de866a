#pragma once

#include <string>

#include "graphics/picture_state.h"
#include "platform/result.h"

namespace zorvane::graphics {

// Writes header, palette and pixels as a whole new file at `resolvedPath` (a path resolved
// already), replacing a file of that name; a failure leaves no part of the file behind.
platform::Status WriteBmpFile(const std::string& resolvedPath, const PictureState& picture);

}  // namespace zorvane::graphics
