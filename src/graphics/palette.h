#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// The palette entry of the game (Blue, Green, Red, Spare), shared by the palette members of
// PAL.PFP, the internal .RGB files, the palette tables and the palette of every BMP.
namespace zorvane::graphics {

struct PaletteEntry {
  std::uint8_t Blue = 0;
  std::uint8_t Green = 0;
  std::uint8_t Red = 0;
  std::uint8_t Spare = 0;
  bool operator==(const PaletteEntry&) const = default;
};

inline constexpr std::size_t kPaletteEntries = 256;
inline constexpr std::size_t kPaletteEntrySize = 4;
inline constexpr std::size_t kPaletteBytes = kPaletteEntries * kPaletteEntrySize;

using Palette = std::array<PaletteEntry, kPaletteEntries>;

// The index that marks a transparent pixel in sprites coloured with the DAY palette, and the
// index a coded pixel of that colour becomes so that the mark stays unambiguous.
inline constexpr std::uint8_t kTransparentIndex = 213;
inline constexpr std::uint8_t kTransparentSubstitute = 206;

// The light pink that shows the transparent index of the DAY palette in paint programs.
inline constexpr PaletteEntry kTransparentPink{225, 225, 255, 0};

// The 1024 bytes of a palette, entry 0 first. Bytes missing at the end read as 0.
Palette ParsePalette(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> SerialisePalette(const Palette& palette);

}  // namespace zorvane::graphics
