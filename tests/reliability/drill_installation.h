#pragma once

#include "fault_drill.h"

namespace zorvane::reliability {

// The sprite file that the insertion drill puts into SHP.PFP, in the inputs folder.
inline constexpr char kSpriteToInsert[] = "BUTTONS.SHP";
// Two more files to insert: another member of SHP.PFP, and a tile file of TIL.PFP.
inline constexpr char kSecondSpriteToInsert[] = "CURSORS.SHP";
inline constexpr char kTileToInsert[] = "T_FRT_DD.SHP";
// The folder below the inputs that holds unit-description extracts of a larger installation.
inline constexpr char kUnitExtractsFolder[] = "units/";

// The sample installation at scale 1, made once per test program: the DATA folder, a program
// folder holding the 15 internal palettes made from its PAL.PFP, and the inputs: sprite files
// to insert and the unit-description extracts of the sample at scale 2.
const Installation& DrillInstallation();

}  // namespace zorvane::reliability
