#include "app/repack_events.h"

#include "app/main_window_events.h"
#include "graphics/bmp_repack.h"

namespace zorvane::app {

namespace {

void ShowInFile1(MainWindowModel& window, const graphics::ListedBmpFiles& listed) {
  window.File1 = {listed.Folder, listed.Pattern, listed.Names};
}

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
  const auto listing =
      graphics::ListBmpSets(session.DataFolder, destination, session.Repack, session.Ui);
  if (!listing) return false;
  ShowInFile1(window, listing->Files);
  window.List1 = listing->Rows;
  window.ListIndex = -1;
  return true;
}

void RepackBmpSet(Session& session) {
  const int row = session.Window.ListIndex;
  if (row < 0 || static_cast<std::size_t>(row) >= session.Window.List1.size()) return;
  RepackRows(session, {row});
}

void RepackRows(Session& session, const std::vector<int>& rows) {
  MainWindowModel& window = session.Window;
  std::vector<std::string> named;
  for (const int row : rows) {
    if (row >= 0 && static_cast<std::size_t>(row) < window.List1.size()) {
      named.push_back(window.List1[static_cast<std::size_t>(row)]);
    }
  }
  const auto listed = graphics::RepackBmpSets(
      {session.DataFolder, SelectedDestination(session), named, session.ProgramFolder},
      session.Repack, session.Palettes, session.Picture, session.Ui);
  if (listed) ShowInFile1(window, *listed);
}

}  // namespace zorvane::app
