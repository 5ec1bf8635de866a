#include "app/unit_description_menu.h"

#include "app/main_window_events.h"
#include "unitdesc/unit_extraction.h"
#include "unitdesc/unit_insertion.h"

namespace zorvane::app {

bool OnExtractUnitDescriptionsMenu(Session& session) {
  return unitdesc::ExtractUnitDescriptions(session.DataFolder, session.Ui);
}

bool OnInsertUnitDescriptionsMenu(Session& session) {
  return unitdesc::InsertUnitDescriptions(session.DataFolder, session.UnitExtracts, session.Ui,
                                          [&session] { LoadExtIndex(session); });
}

}  // namespace zorvane::app
