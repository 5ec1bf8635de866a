#include "sample/sample_pictures.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace zorvane::sample {

namespace {

constexpr double kPi = 3.14159265358979323846;

int Noise(int x, int y, int seed, int range) {
  return static_cast<int>(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                               static_cast<std::uint32_t>(seed)) %
                          static_cast<std::uint32_t>(range));
}

void FillRect(Picture& picture, int left, int top, int width, int height, std::uint8_t colour) {
  for (int y = top; y < top + height; ++y) {
    for (int x = left; x < left + width; ++x) {
      if (picture.Inside(x, y)) picture.At(x, y) = colour;
    }
  }
}

// Rounded corners: is (x, y) outside a rectangle whose corners are cut with radius r?
bool OutsideRoundedRect(int x, int y, int width, int height, int r) {
  const int cx = x < r ? r : (x >= width - r ? width - r - 1 : x);
  const int cy = y < r ? r : (y >= height - r ? height - r - 1 : y);
  const int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy > r * r;
}

}  // namespace

Picture UnitIcon(int number) {
  constexpr std::array<int, 6> kArmyRamps{kOlive, kEarth, kSteel, kRed, kWater, kForest};
  const int ramp = kArmyRamps[number % kArmyRamps.size()];
  Picture icon(32, 32, kTransparent);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double dx = x - 15.5, dy = y - 15.5;
      const double distance = std::sqrt(dx * dx + dy * dy);
      if (distance > 14.5) continue;
      if (distance > 13.2) {
        icon.At(x, y) = Shade(kGrey, 2);
      } else {
        // Lit from the top left.
        const int level = 11 - static_cast<int>((dx + dy) / 5.0) + Noise(x, y, number, 2);
        icon.At(x, y) = Shade(ramp, level);
      }
    }
  }
  const std::uint8_t glyph = Shade(number % 2 ? kYellow : kGrey, 14);
  switch (number / 6 % 5) {
    case 0:  // cross
      FillRect(icon, 14, 7, 4, 18, glyph);
      FillRect(icon, 7, 14, 18, 4, glyph);
      break;
    case 1:  // arrow up
      for (int row = 0; row < 10; ++row) FillRect(icon, 16 - row, 7 + row, 2 * row, 1, glyph);
      FillRect(icon, 13, 17, 6, 8, glyph);
      break;
    case 2:  // bars
      for (int bar = 0; bar < 3; ++bar) FillRect(icon, 9, 9 + bar * 5, 14, 3, glyph);
      break;
    case 3:  // diamond
      for (int row = -8; row <= 8; ++row) {
        const int half = 8 - std::abs(row);
        FillRect(icon, 16 - half, 16 + row, 2 * half, 1, glyph);
      }
      break;
    default:  // chevrons
      for (int row = 0; row < 6; ++row) {
        FillRect(icon, 8 + row, 10 + row, 3, 1, glyph);
        FillRect(icon, 21 - row, 10 + row, 3, 1, glyph);
        FillRect(icon, 8 + row, 17 + row, 3, 1, glyph);
        FillRect(icon, 21 - row, 17 + row, 3, 1, glyph);
      }
      break;
  }
  return icon;
}

Picture Button(int number) {
  constexpr int kWidth = 96, kHeight = 24;
  const int ramp = number % 3 == 0 ? kSteel : (number % 3 == 1 ? kOlive : kEarth);
  Picture button(kWidth, kHeight, kTransparent);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (OutsideRoundedRect(x, y, kWidth, kHeight, 4)) continue;
      int level = 8 - y / 6;
      if (x < 2 || y < 2) level = 14;                      // lit edge
      if (x >= kWidth - 2 || y >= kHeight - 2) level = 3;  // shadow edge
      button.At(x, y) = Shade(ramp, level);
    }
  }
  // A label of blocky "letters", a different word length per button.
  const int letters = 3 + number % 5;
  const int start = (kWidth - letters * 8) / 2;
  for (int letter = 0; letter < letters; ++letter) {
    for (int y = 8; y < 16; ++y) {
      for (int x = 0; x < 6; ++x) {
        if (Noise(x / 2, y / 2, number * 31 + letter, 3) != 0) {
          button.At(start + letter * 8 + x, y) = Shade(kGrey, 1);
        }
      }
    }
  }
  return button;
}

Picture Cursor(int number) {
  Picture cursor(16, 16, kTransparent);
  const std::uint8_t fill = Shade(number % 2 ? kYellow : kGrey, 15);
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x <= y / 2 + y / 4 && x < 12; ++x) {
      const bool edge = x == 0 || x == y / 2 + y / 4 || y == 13;
      cursor.At(x + number % 3, y + 1) = edge ? Shade(kGrey, 0) : fill;
    }
  }
  return cursor;
}

Picture Panel(int number) {
  constexpr int kWidth = 200, kHeight = 150;
  Picture panel(kWidth, kHeight, kTransparent);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (OutsideRoundedRect(x, y, kWidth, kHeight, 10)) continue;
      const bool border = OutsideRoundedRect(x - 4, y - 4, kWidth - 8, kHeight - 8, 8) || x < 4 ||
                          y < 4 || x >= kWidth - 4 || y >= kHeight - 4;
      panel.At(x, y) =
          border ? Shade(kGrey, 4 + (x + y + number) % 3) : Shade(kSteel, 3 + y * 8 / kHeight);
    }
  }
  return panel;
}

Picture Landscape(int width, int height, int seed) {
  Picture screen(width, height, 0);
  const int horizon = height * 11 / 20;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width;
      const int hill =
          horizon - static_cast<int>(height / 10.0 * (1 + std::sin(u * 2 * kPi * 1.5 + seed)) / 2);
      const int far = horizon - static_cast<int>(height / 5.0 *
                                                 (1 + std::sin(u * 2 * kPi * 0.7 + seed * 2)) / 2);
      std::uint8_t colour;
      if (y >= hill) {
        colour = Shade(kGrass, 10 - (y - hill) * 8 / (height - hill + 1) + Noise(x, y, seed, 2));
      } else if (y >= far) {
        colour = Shade(kForest, 6 + Noise(x / 3, y / 3, seed, 2));
      } else {
        colour = Shade(kSky, 15 - y * 7 / (far + 1));
      }
      screen.At(x, y) = colour;
    }
  }
  // The sun, and a menu panel with three buttons.
  const int sunX = width * (3 + seed % 4) / 8, sunY = height / 6, radius = height / 14 + 2;
  for (int y = sunY - radius; y <= sunY + radius; ++y) {
    for (int x = sunX - radius; x <= sunX + radius; ++x) {
      if (screen.Inside(x, y) &&
          (x - sunX) * (x - sunX) + (y - sunY) * (y - sunY) <= radius * radius) {
        screen.At(x, y) = Shade(kYellow, 14);
      }
    }
  }
  const int panelWidth = width / 3, panelHeight = height / 3;
  const int left = (width - panelWidth) / 2, top = height / 2;
  FillRect(screen, left - 2, top - 2, panelWidth + 4, panelHeight + 4, Shade(kGrey, 2));
  FillRect(screen, left, top, panelWidth, panelHeight, Shade(kSteel, 6));
  for (int item = 0; item < 3; ++item) {
    FillRect(screen, left + panelWidth / 8, top + panelHeight * (1 + 3 * item) / 10,
             panelWidth * 3 / 4, panelHeight / 5, Shade(kOlive, 9 + item));
  }
  return screen;
}

namespace {

struct TerrainStyle {
  std::string_view Code;
  int Ramp;
};

constexpr std::array<TerrainStyle, 16> kTerrains{{
    {"CLR", kGrass},
    {"BCH", kSand},
    {"RF", kWater},
    {"FRT", kGrass},
    {"CST", kGrass},
    {"RD", kGrass},
    {"RIV", kGrass},
    {"CTY", kGrass},
    {"ISL", kWater},
    {"MNT", kEarth},
    {"LAK", kGrass},
    {"DES", kSand},
    {"FRM", kGrass},
    {"DMT", kSand},
    {"SF1", kWater},
    {"SF2", kWater},
}};

// Half the width of the hex at row y of a 64 x 32 tile (flat top and bottom).
int HexHalfWidth(int y) {
  const int fromMiddle = y < 16 ? 15 - y : y - 16;
  return 32 - fromMiddle;
}

}  // namespace

std::vector<std::string> TileNames(std::size_t count) {
  // Terrains vary fastest, so that a few files already show many kinds of terrain.
  std::vector<std::string> names;
  for (char ground : {'D', 'M', 'S'}) {
    for (char scale : {'T', 'S'}) {
      for (char light : {'D', 'L'}) {
        for (const auto& terrain : kTerrains) {
          if (names.size() == count) return names;
          names.push_back(std::string(1, scale) + "_" + std::string(terrain.Code) + "_" + light +
                          ground);
        }
      }
    }
  }
  return names;
}

Picture HexTile(const std::string& tileName, int variant) {
  // The name reads x_nnn_yz; the terrain code has two or three letters.
  const auto secondUnderscore = tileName.rfind('_');
  const std::string_view code = std::string_view(tileName).substr(2, secondUnderscore - 2);
  const char light = tileName[secondUnderscore + 1];
  const char ground = tileName[secondUnderscore + 2];
  int ramp = kGrass;
  for (const auto& terrain : kTerrains) {
    if (terrain.Code == code) ramp = terrain.Ramp;
  }
  const int seed = static_cast<int>(Hash(tileName.size(), tileName[2] * 7 + tileName[3], variant));
  const int brightness = light == 'L' ? 3 : -2;
  Picture tile(64, 32, kTransparent);
  for (int y = 0; y < 32; ++y) {
    const int half = HexHalfWidth(y);
    for (int x = 32 - half; x < 32 + half; ++x) {
      int tileRamp = ramp;
      int level = 8 + brightness + Noise(x, y, seed, 4) - 1;
      if (ground == 'S' && Noise(x, y, seed + 1, 5) < 2) tileRamp = kSnow;
      if (ground == 'M' && Noise(x, y, seed + 2, 5) < 2) tileRamp = kEarth;
      const int wave = 16 + static_cast<int>(5 * std::sin((x + variant * 5) / 9.0));
      if (code == "RIV" && std::abs(y - wave) <= 1) tileRamp = kWater;
      if (code == "RD" && std::abs(y - 16) <= 1) {
        tileRamp = kEarth;
        level = 5;
      }
      if (code == "CST" && x > 32 + (variant % 12)) tileRamp = kWater;
      if ((code == "LAK") && (x - 32) * (x - 32) / 4 + (y - 16) * (y - 16) < 50) {
        tileRamp = kGrey;
        level = 2 + Noise(x, y, seed, 2);
      }
      if ((code == "CTY" || code == "SF2") && (x / 6 + y / 5) % 3 == 0) tileRamp = kSteel;
      if (code == "FRT" && std::abs(x - 32) < 8 && std::abs(y - 16) < 6) {
        tileRamp = kGrey;
        level = 6;
      }
      if ((code == "MNT" || code == "DMT") && 32 - y > std::abs(x - 32) - 4 && y > 4) {
        tileRamp = y < 12 && ground == 'S' ? kSnow : kEarth;
        level = 6 + (x < 32 ? 3 : -1) + brightness;
      }
      if (code == "FRM" && (x + y / 2) % 6 < 2) tileRamp = kOlive;
      if ((code == "ISL" || code == "SF1") && (x - 32) * (x - 32) / 3 + (y - 16) * (y - 16) < 40) {
        tileRamp = kSand;
      }
      if (code == "RF" && Noise(x, y, seed + 3, 9) == 0) tileRamp = kSky;
      tile.At(x, y) = Shade(tileRamp, level);
    }
  }
  return tile;
}

}  // namespace zorvane::sample
