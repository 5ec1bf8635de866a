#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zorvane::sample {

// The 15 palettes of PAL.PFP, in the order the tool loads them.
inline constexpr std::array<std::string_view, 15> kPaletteNames{
    "DAY",     "MAIN",    "MENU2",   "TURN01U", "TURN02U", "TURN03U", "TURN04U", "TURN05U",
    "TURN06U", "TURN01J", "TURN02J", "TURN03J", "TURN04J", "TURN05J", "TURN06J"};

// The 1024 bytes of palette `index` (0 to 14): 256 entries of Blue, Green, Red, Spare. Every
// palette is made of the same 16 colour ramps, tinted differently, so that they are distinct
// yet each is a plausible game palette.
std::vector<std::uint8_t> SamplePalette(std::size_t index);

}  // namespace zorvane::sample
