#pragma once

#include <cstdint>
#include <string>

#include "platform/result.h"

// A complete synthetic PacGen DATA folder, made up entirely here: EXT.IDX, PFPDATA.IDX and the
// archives TXT.PFP (texts, then the unit descriptions "0", "1", ... to its end), SND.PFP (first
// member AUDIO), SHP.PFP (screens, unit icons, buttons), TIL.PFP (terrain hexes) and PAL.PFP
// (the 15 palettes), then from scale 2 on the filler archives DAT001, DAT002, ... of small
// records that take PFPDATA.IDX and EXT.IDX towards their limits. The same options always give
// the same bytes.
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
  int FillerArchives;  // after PAL.PFP
  int FillerMembers;   // over all filler archives, each holding at least one
};

inline constexpr int kMaxScale = 1000;
// The scale of the largest installation: every limit of the index format reached at once
// (32767 records in PFPDATA.IDX, 256 records in EXT.IDX), a sprite of more than 4095
// sub-images (UNITICON), a TIL.PFP of about 200 MB and tile files of 2000 hexes.
inline constexpr int kLargestScale = 100;
// TIL.PFP stops growing at about 200 MB: beyond this many hexes in all, a scale makes fewer
// tile files of more hexes each.
inline constexpr int kMaxTileHexes = 128000;
inline constexpr int kMaxFillerArchives = 250;
// SOUND001 to SOUND999: beyond that, the filler archives take the records.
inline constexpr int kMostSoundMembers = 999;
inline constexpr std::int32_t kSampleIndexHeader = 0x00020004;

SampleCounts CountsForScale(int scale);

// The records the installation of these counts has in PFPDATA.IDX and in EXT.IDX, the
// terminators included.
int MemberIndexRecords(const SampleCounts& counts);
int ArchiveIndexRecords(const SampleCounts& counts);

// Writes the installation into `dataFolder` (created when missing), replacing files of the
// same names.
platform::Status WriteSampleInstallation(const std::string& dataFolder,
                                         const SampleOptions& options);

}  // namespace zorvane::sample
