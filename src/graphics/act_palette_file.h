#pragma once

#include <cstdint>
#include <vector>

#include "graphics/palette.h"

namespace zorvane::graphics {

inline constexpr std::size_t kActBytes = 768;

// The Photoshop colour table of a palette: Red, Green, Blue of each entry, 768 bytes and
// nothing else. With `showTransparency` entry 213 is the light pink of the transparent colour.
std::vector<std::uint8_t> ActPaletteBytes(const Palette& palette, bool showTransparency);

}  // namespace zorvane::graphics
