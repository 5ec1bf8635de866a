#pragma once

#include <vector>

#include "app/session.h"
#include "graphics/bmp_set_listing.h"

// The destination choices of the main window and the packing of a BMP set, on the session.
namespace zorvane::app {

// The destination of the selected option button among Option5 and Option6 (icons when
// neither is selected).
graphics::RepackDestination SelectedDestination(const Session& session);

// Option5 ("SHP's for SHP.PFP") or Option6 ("SHP's for TIL.PFP"): clears Option1 to Option4,
// refreshes File1, sets the captions, then lists the BMP sets of the destination's folder.
// Returns whether the folder was listed.
bool OnDestinationOptionClick(Session& session, int option);

// Packs the set of the selected row into its sprite file. Nothing happens without a selected
// row.
void RepackBmpSet(Session& session);

// Packs the sets of these rows of the BMP-set list together, as one change (see
// graphics::RepackBmpSets).
void RepackRows(Session& session, const std::vector<int>& rows);

}  // namespace zorvane::app
