#include "graphics/palette_state.h"

#include <string>

#include "platform/number_text.h"

namespace zorvane::graphics {

std::string_view PaletteName(PaletteId id) {
  return kPaletteNames[static_cast<std::size_t>(id)];
}

std::optional<PaletteId> PaletteNamed(std::string_view name) {
  const std::string upper = platform::UpperCase(name);
  for (std::size_t i = 0; i < kPaletteCount; ++i) {
    if (kPaletteNames[i] == upper) return static_cast<PaletteId>(i);
  }
  return std::nullopt;
}

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

void SetBmpPalette(PaletteState& palettes, PaletteId id, Palette& bmpPalette) {
  const Palette& table = palettes.Table(id);
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    bmpPalette[i] = {table[i].Blue, table[i].Green, table[i].Red, 0};
  }
  palettes.UseTransparency = id == PaletteId::Day;
  if (palettes.UseTransparency) bmpPalette[kTransparentIndex] = kTransparentPink;
}

void SetBmpPalette(PaletteState& palettes, std::string_view paletteName, Palette& bmpPalette) {
  SetBmpPalette(palettes, PaletteForMember(paletteName), bmpPalette);
}

void RefreshPaletteTable(PaletteState& palettes, PaletteId id, const Palette& source) {
  Palette& table = palettes.Table(id);
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    table[i] = {source[i].Blue, source[i].Green, source[i].Red, 0};
  }
  if (id == PaletteId::Day) table[kTransparentIndex] = kTransparentPink;
}

}  // namespace zorvane::graphics
