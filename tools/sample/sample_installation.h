#pragma once

#include <cstdint>
#include <string>

#include "platform/result.h"

// A complete synthetic PacGen DATA folder, made up entirely here: EXT.IDX, PFPDATA.IDX and the
// archives TXT.PFP (texts, then the unit descriptions "0", "1", ... to its end), SND.PFP (first
// member AUDIO), SHP.PFP (screens, unit icons, buttons), TIL.PFP (terrain hexes) and PAL.PFP
// (the 15 palettes). The same options always give the same bytes.
namespace zorvane::sample {

struct SampleOptions {
  // Multiplies the member and sub-image counts, within the limits of the index format.
  int Scale = 1;
};

// How many of each kind of member or sub-image a scale gives.
struct SampleCounts {
  int UnitDescriptions;
  int SoundMembers;  // after AUDIO
  int UnitIcons;     // sub-images of UNITICON
  int TileFiles;
  int HexesPerTile;
};

inline constexpr int kMaxScale = 1000;
inline constexpr std::int32_t kSampleIndexHeader = 0x00020004;

SampleCounts CountsForScale(int scale);

// Writes the installation into `dataFolder` (created when missing), replacing files of the
// same names.
platform::Status WriteSampleInstallation(const std::string& dataFolder,
                                         const SampleOptions& options);

}  // namespace zorvane::sample
