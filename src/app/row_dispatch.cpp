#include "app/row_dispatch.h"

#include "app/extraction_events.h"

namespace zorvane::app {

void OnList1DoubleClick(Session& session) {
  if (session.Window.Option[5] || session.Window.Option[6]) return;
  if (session.Window.ListIndex < 0) return;
  ExtractMember(session);
}

}  // namespace zorvane::app
