#include "app/repack_events.h"

#include "app/main_window_events.h"
#include "graphics/bmp_repack.h"

namespace zorvane::app {

namespace {

graphics::RepackDestination DestinationOf(int option) {
  return option == 6 ? graphics::RepackDestination::Tiles : graphics::RepackDestination::Icons;
}

}  // namespace

graphics::RepackDestination SelectedDestination(const Session& session) {
  return DestinationOf(session.Window.Option[6] ? 6 : 5);
}

bool OnDestinationOptionClick(Session& session, int option) {
  MainWindowModel& window = session.Window;
  for (int archiveOption = 1; archiveOption <= 4; ++archiveOption) {
    window.Option[archiveOption] = false;
  }
  const auto reading = LockForReading(session);
  if (!reading) return false;
  window.File1.Refresh();
  const graphics::RepackDestination destination = DestinationOf(option);
  window.Label1Caption = graphics::kBmpSetListTitle;
  window.Label2Caption = graphics::kBmpSetListHeader;
  window.Label3Caption = graphics::BmpSetListHint(session.DataFolder, destination);
  const bool listed = graphics::ListBmpSets(session.DataFolder, destination, session.Repack,
                                            {window.List1, window.File1}, session.Ui);
  if (listed) window.ListIndex = -1;
  return listed;
}

void RepackBmpSet(Session& session) {
  const MainWindowModel& window = session.Window;
  const int row = window.ListIndex;
  if (row < 0 || static_cast<std::size_t>(row) >= window.List1.size()) return;
  graphics::RepackBmpSet({session.DataFolder, SelectedDestination(session),
                          window.List1[static_cast<std::size_t>(row)]},
                         session.Repack, session.Window.File1, session.Palettes, session.Picture,
                         session.Ui);
}

}  // namespace zorvane::app
