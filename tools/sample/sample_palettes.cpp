#include "sample/sample_palettes.h"

#include <algorithm>

namespace zorvane::sample {

namespace {

struct Rgb {
  int Red, Green, Blue;
};

// Darkest and lightest colour of each ramp.
constexpr std::array<std::pair<Rgb, Rgb>, 16> kRamps{{
    {{0, 0, 0}, {255, 255, 255}},        // grey
    {{10, 40, 5}, {170, 230, 120}},      // grass
    {{5, 25, 10}, {90, 160, 80}},        // forest
    {{40, 20, 5}, {210, 160, 100}},      // earth
    {{90, 70, 30}, {250, 235, 180}},     // sand
    {{0, 10, 60}, {120, 170, 255}},      // water
    {{0, 40, 60}, {170, 240, 255}},      // sky
    {{50, 0, 0}, {255, 120, 100}},       // red
    {{60, 25, 0}, {255, 190, 90}},       // orange
    {{60, 50, 0}, {255, 250, 150}},      // yellow
    {{30, 0, 40}, {210, 150, 240}},      // purple
    {{70, 40, 30}, {255, 220, 190}},     // skin
    {{20, 25, 35}, {190, 200, 215}},     // steel
    {{60, 0, 40}, {255, 100, 220}},      // reserved (holds the transparency colour)
    {{30, 30, 10}, {200, 200, 130}},     // olive
    {{120, 130, 150}, {250, 250, 255}},  // snow (its lightest not the white of grey)
}};

// The tint of each palette and how strongly it is mixed in (in 1/16).
constexpr std::array<std::pair<Rgb, int>, 15> kTints{{
    {{0, 0, 0}, 0},       // DAY: the ramps as they are
    {{255, 140, 60}, 4},  // MAIN: warm
    {{60, 90, 200}, 4},   // MENU2: cool
    {{200, 60, 60}, 2},
    {{200, 60, 60}, 3},
    {{200, 60, 60}, 4},
    {{200, 60, 60}, 5},
    {{200, 60, 60}, 6},
    {{200, 60, 60}, 7},
    {{60, 160, 80}, 2},
    {{60, 160, 80}, 3},
    {{60, 160, 80}, 4},
    {{60, 160, 80}, 5},
    {{60, 160, 80}, 6},
    {{60, 160, 80}, 7},
}};

int Mix(int from, int to, int amount, int whole) {
  return from + (to - from) * amount / whole;
}

}  // namespace

std::vector<std::uint8_t> SamplePalette(std::size_t index) {
  const auto& [tint, strength] = kTints.at(index);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(1024);
  for (int entry = 0; entry < 256; ++entry) {
    const auto& [dark, light] = kRamps[entry / 16];
    const int level = entry % 16;
    const Rgb ramp{Mix(dark.Red, light.Red, level, 15), Mix(dark.Green, light.Green, level, 15),
                   Mix(dark.Blue, light.Blue, level, 15)};
    const Rgb colour{Mix(ramp.Red, tint.Red, strength, 16),
                     Mix(ramp.Green, tint.Green, strength, 16),
                     Mix(ramp.Blue, tint.Blue, strength, 16)};
    bytes.push_back(static_cast<std::uint8_t>(std::clamp(colour.Blue, 0, 255)));
    bytes.push_back(static_cast<std::uint8_t>(std::clamp(colour.Green, 0, 255)));
    bytes.push_back(static_cast<std::uint8_t>(std::clamp(colour.Red, 0, 255)));
    bytes.push_back(0);
  }
  return bytes;
}

}  // namespace zorvane::sample
