#pragma once

#include <string>
#include <vector>

#include "sample/picture.h"

// Procedural pictures in the style of the game's graphics. Sprites coloured with the DAY
// palette have index 213 (transparent) around their shapes and never use it inside them.
namespace zorvane::sample {

Picture UnitIcon(int number);                        // 32 x 32, a badge with a glyph
Picture Button(int number);                          // 96 x 24, a bevelled button
Picture Cursor(int number);                          // 16 x 16, an arrow
Picture Panel(int number);                           // 200 x 150, a frame with rounded corners
Picture Landscape(int width, int height, int seed);  // a full screen, no transparency
Picture HexTile(const std::string& tileName, int variant);  // 64 x 32, one terrain hex

// Tile file names of the scheme x_nnn_yz, in a fixed order: all 192 of them, or fewer.
std::vector<std::string> TileNames(std::size_t count);

}  // namespace zorvane::sample
