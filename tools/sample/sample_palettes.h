#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/palette_state.h"

namespace zorvane::sample {

// The 15 palettes of PAL.PFP, in the order the tool loads them.
using graphics::kPaletteNames;

// The 1024 bytes of palette `index` (0 to 14): 256 entries of Blue, Green, Red, Spare. Every
// palette is made of the same 16 colour ramps, tinted differently, so that they are distinct
// yet each is a plausible game palette.
std::vector<std::uint8_t> SamplePalette(std::size_t index);

}  // namespace zorvane::sample
