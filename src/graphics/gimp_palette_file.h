#pragma once

#include <string>
#include <string_view>

#include "graphics/palette.h"

namespace zorvane::graphics {

// The GIMP palette of a palette: "GIMP Palette", "Name: NAME", "Columns: 16", "#", then one line
// per entry: Red, Green and Blue right-aligned in three places each and one space apart, a TAB
// and "Index N". Every line ends in LF, as GIMP writes them. A control character of the name
// becomes a space, so that the name stays on its line. With `showTransparency` entry 213 is
// the light pink of the transparent colour.
std::string GimpPaletteText(std::string_view name, const Palette& palette, bool showTransparency);

}  // namespace zorvane::graphics
