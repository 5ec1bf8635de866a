#pragma once

#include "app/session.h"

namespace zorvane::app {

// Insert -> Insert SHP file: puts the chosen sprite file into the game's archive in place of the
// member of the same name, and records the outcome in Session::LastInsertion. The member list
// is not refreshed; its rows show the old offsets and lengths until the next listing.
void OnInsertShpFileMenu(Session& session);

}  // namespace zorvane::app
