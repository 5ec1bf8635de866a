#pragma once

#include <vector>

#include "app/session.h"

// The graphics commands of the main window, on the session.
namespace zorvane::app {

// Extracts the member of the selected row of the SHP.PFP, TIL.PFP or PAL.PFP list; with all
// archives listed it only makes the TOVRIN_PFP folder. Nothing happens without a selected row.
void ExtractMember(Session& session);

// Extracts the members of these rows of the SHP.PFP, TIL.PFP or PAL.PFP list together, as one
// change (see graphics::ExtractMembers); rows past the list are passed over.
void ExtractRows(Session& session, const std::vector<int>& rows);

// Loads the internal palettes, or tells the user how to make them (the detailed view calls
// it each time it opens). Returns whether all 15 were loaded.
bool CheckPalettes(Session& session);

}  // namespace zorvane::app
