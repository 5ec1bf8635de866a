#pragma once

#include <cstdint>
#include <vector>

#include "graphics/palette.h"

namespace zorvane::sample {

// The palette index that marks a transparent pixel in sprites coloured with the DAY palette.
inline constexpr std::uint8_t kTransparent = graphics::kTransparentIndex;

// A picture of palette indices, top row first, each row left to right.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;

  Picture(int width, int height, std::uint8_t fill)
      : Width(width), Height(height), Pixels(static_cast<std::size_t>(width) * height, fill) {}
  std::uint8_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  std::uint8_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// Palette index of a colour ramp (0 to 15) at a brightness level (0 dark to 15 light); the
// sample palettes are made of 16 such ramps.
inline std::uint8_t Shade(int ramp, int level) {
  level = level < 0 ? 0 : (level > 15 ? 15 : level);
  return static_cast<std::uint8_t>(ramp * 16 + level);
}

// The ramps of the sample palettes.
enum Ramp {
  kGrey,
  kGrass,
  kForest,
  kEarth,
  kSand,
  kWater,
  kSky,
  kRed,
  kOrange,
  kYellow,
  kPurple,
  kSkin,
  kSteel,
  kReserved,
  kOlive,
  kSnow
};

// A small deterministic hash, for textures that look the same on every run.
inline std::uint32_t Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::uint32_t h =
      a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

}  // namespace zorvane::sample
