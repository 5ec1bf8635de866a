#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "graphics/palette.h"

// The 15 game palettes the tool knows by name, the tables that hold them for the whole run,
// and the choice of palette for a BMP.
namespace zorvane::graphics {

// In the order in which the internal palette files are tested and loaded.
enum class PaletteId {
  Day,
  Main,
  Menu2,
  Turn01U,
  Turn02U,
  Turn03U,
  Turn04U,
  Turn05U,
  Turn06U,
  Turn01J,
  Turn02J,
  Turn03J,
  Turn04J,
  Turn05J,
  Turn06J
};

inline constexpr std::size_t kPaletteCount = 15;

inline constexpr std::array<std::string_view, kPaletteCount> kPaletteNames{
    "DAY",     "MAIN",    "MENU2",   "TURN01U", "TURN02U", "TURN03U", "TURN04U", "TURN05U",
    "TURN06U", "TURN01J", "TURN02J", "TURN03J", "TURN04J", "TURN05J", "TURN06J"};

std::string_view PaletteName(PaletteId id);

// The palette state of one session.
struct PaletteState {
  // The last palette read, from PAL.PFP or from an internal palette file.
  Palette PaletteRaw{};
  // One table per palette, indexed by PaletteId; all black until loaded.
  std::array<Palette, kPaletteCount> PaletteTables{};
  // Set while palette index 213 stands for a transparent pixel.
  bool UseTransparency = false;

  Palette& Table(PaletteId id) { return PaletteTables[static_cast<std::size_t>(id)]; }
  const Palette& Table(PaletteId id) const { return PaletteTables[static_cast<std::size_t>(id)]; }
};

// The palette of a sprite file's BMPs, by the sprite's name in upper case: MAINMENU gets MAIN,
// MAINMEN2 gets MENU2, TURN0n_U and TURN0n_J their TURN palettes, every other name DAY.
PaletteId PaletteForSprite(std::string_view spriteName);

// The table an exported palette member refreshes: the palette of its name in upper case, DAY
// for any name that is not one of the 15.
PaletteId PaletteForMember(std::string_view memberName);

// The palette of a BMP coloured with table `id` (Spare 0, the DAY's entry 213 pink).
Palette BmpColours(const PaletteState& palettes, PaletteId id);

// Fills the BMP palette from a palette table (Spare 0) and decides whether index 213 is
// transparent: only the DAY palette shows it as light pink and sets UseTransparency.
void SetBmpPalette(PaletteState& palettes, PaletteId id, Palette& bmpPalette);
void SetBmpPalette(PaletteState& palettes, std::string_view paletteName, Palette& bmpPalette);

// Copies Blue, Green and Red of `source` into a table, Spare 0; the DAY table gets the pink
// entry 213.
void RefreshPaletteTable(PaletteState& palettes, PaletteId id, const Palette& source);

}  // namespace zorvane::graphics
