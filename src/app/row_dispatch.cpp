#include "app/row_dispatch.h"

#include "app/extraction_events.h"
#include "app/repack_events.h"

namespace zorvane::app {

void OnList1DoubleClick(Session& session) {
  // Each handler ignores a double-click with no row chosen.
  if (session.Window.Option[5] || session.Window.Option[6]) {
    RepackBmpSet(session);
  } else {
    ExtractMember(session);
  }
}

}  // namespace zorvane::app
