#pragma once

#include "app/session.h"

namespace zorvane::app {

// A double-click on a row of the main window's list. With a destination choice (Option5,
// Option6) the list shows BMP sets waiting to be packed, which is not done here yet, and never
// extracts anything; otherwise the selected member is extracted. Without a selected row
// nothing happens.
void OnList1DoubleClick(Session& session);

}  // namespace zorvane::app
