#pragma once

#include <string>

#include "graphics/palette.h"

namespace zorvane::graphics {

// The Paint Shop Pro palette (JASC-PAL text) of a palette: "JASC-PAL", "0100", "256", then one
// line "Red Green Blue" per entry, each line ended by CR LF. With `showTransparency` entry 213
// is written as the light pink of the transparent colour.
std::string PspPaletteText(const Palette& palette, bool showTransparency);

}  // namespace zorvane::graphics
