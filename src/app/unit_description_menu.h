#pragma once

#include "app/session.h"

// The unit-description entries of the main window's menus.
namespace zorvane::app {

// Extract -> UnitDescriptions. Returns whether the extracts were written.
bool OnExtractUnitDescriptionsMenu(Session& session);

// Insert -> Insert Unitdescriptions; after a successful insertion EXT.IDX is reloaded and the
// member list refreshed. Returns whether the descriptions were inserted.
bool OnInsertUnitDescriptionsMenu(Session& session);

}  // namespace zorvane::app
