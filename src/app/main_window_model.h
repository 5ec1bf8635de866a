#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/folder_listing.h"

namespace zorvane::app {

// Height of the main window in its two states, in twips.
inline constexpr int kCompactHeightTwips = 2000;
inline constexpr int kDetailedHeightTwips = 8100;

// The hidden file list of the main window: a folder, a pattern, and the names found by the
// last refresh.
struct FileListBox {
  std::string Path;
  std::string Pattern = "*.*";
  std::vector<std::string> Names;

  void Refresh() { Names = platform::ListFiles(Path, Pattern); }
  int ListCount() const { return static_cast<int>(Names.size()); }
};

// What the main window shows: the window mirrors this after every event and holds no state of
// its own.
struct MainWindowModel {
  std::string Caption;
  std::string Label1Caption;  // title line
  std::string Label2Caption;  // column header of the list
  std::string Label3Caption;  // hint lines
  std::vector<std::string> List1;
  int ListIndex = -1;  // the selected row, -1 for none
  std::string List1ToolTip;
  // Option[1] to Option[4]: the archive choices; Option[5], Option[6]: the destinations.
  std::array<bool, 7> Option{};
  bool Label2Visible = true;
  bool List1Visible = true;
  bool Frame1Visible = true;
  bool File1Visible = true;
  int HeightTwips = kDetailedHeightTwips;
  // Set when the window is to be centred on the screen; the window clears it when it has.
  bool CentreOnScreen = false;
  // The hidden file list, used as a folder listing.
  FileListBox File1;

  // The window counts as detailed exactly while the list's column header is visible.
  bool Detailed() const { return Label2Visible; }
};

}  // namespace zorvane::app
