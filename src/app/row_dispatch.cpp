#include "app/row_dispatch.h"

#include "app/extraction_events.h"
#include "app/repack_events.h"

namespace zorvane::app {

void OnList1DoubleClick(Session& session) {
  if (session.Window.ListIndex < 0) return;
  if (session.Window.Option[5] || session.Window.Option[6]) {
    RepackBmpSet(session);
  } else {
    ExtractMember(session);
  }
}

}  // namespace zorvane::app
