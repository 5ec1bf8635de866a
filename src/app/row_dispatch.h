#pragma once

#include "app/session.h"

namespace zorvane::app {

// A double-click on a row of the main window's list. With a destination choice (Option5,
// Option6) the list shows BMP sets and the selected set is packed into its sprite file, never
// extracted; otherwise the selected member is extracted. Without a selected row nothing
// happens.
void OnList1DoubleClick(Session& session);

}  // namespace zorvane::app
