#include "graphics/palette_state.h"

#include <string>

#include "platform/number_text.h"

namespace zorvane::graphics {

std::string_view PaletteName(PaletteId id) {
  return kPaletteNames[static_cast<std::size_t>(id)];
}

namespace {

// The palette of that name, compared in upper case.
std::optional<PaletteId> PaletteNamed(std::string_view name) {
  const std::string upper = platform::UpperCase(name);
  for (std::size_t i = 0; i < kPaletteCount; ++i) {
    if (kPaletteNames[i] == upper) return static_cast<PaletteId>(i);
  }
  return std::nullopt;
}

// The colours of `source` with every Spare byte 0, and for DAY the pink of its transparent
// index.
Palette ColoursOf(const Palette& source, PaletteId id) {
  Palette colours{};
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    colours[i] = {source[i].Blue, source[i].Green, source[i].Red, 0};
  }
  if (id == PaletteId::Day) colours[kTransparentIndex] = kTransparentPink;
  return colours;
}

}  // namespace

PaletteId PaletteForSprite(std::string_view spriteName) {
  const std::string upper = platform::UpperCase(spriteName);
  if (upper == "MAINMENU") return PaletteId::Main;
  if (upper == "MAINMEN2") return PaletteId::Menu2;
  // TURN0n_U and TURN0n_J select TURN0nU and TURN0nJ.
  if (upper.size() == 8 && upper.starts_with("TURN0") && upper[5] >= '1' && upper[5] <= '6' &&
      upper[6] == '_' && (upper[7] == 'U' || upper[7] == 'J')) {
    const int first = upper[7] == 'U' ? static_cast<int>(PaletteId::Turn01U)
                                      : static_cast<int>(PaletteId::Turn01J);
    return static_cast<PaletteId>(first + (upper[5] - '1'));
  }
  return PaletteId::Day;
}

PaletteId PaletteForMember(std::string_view memberName) {
  return PaletteNamed(memberName).value_or(PaletteId::Day);
}

Palette BmpColours(const PaletteState& palettes, PaletteId id) {
  return ColoursOf(palettes.Table(id), id);
}

void SetBmpPalette(PaletteState& palettes, PaletteId id, Palette& bmpPalette) {
  bmpPalette = BmpColours(palettes, id);
  palettes.UseTransparency = id == PaletteId::Day;
}

void SetBmpPalette(PaletteState& palettes, std::string_view paletteName, Palette& bmpPalette) {
  SetBmpPalette(palettes, PaletteForMember(paletteName), bmpPalette);
}

void RefreshPaletteTable(PaletteState& palettes, PaletteId id, const Palette& source) {
  palettes.Table(id) = ColoursOf(source, id);
}

}  // namespace zorvane::graphics
