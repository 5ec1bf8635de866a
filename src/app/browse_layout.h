#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::app {

struct Session;

// The Browse window's size and the sizes of its splitters' panes, kept in the settings file on
// a line of their own after the DATA folder's, which programs that do not know it ignore.
struct BrowseLayout {
  int Width = 0;
  int Height = 0;
  std::vector<int> PaneSizes;
  bool operator==(const BrowseLayout&) const = default;
};

inline constexpr std::string_view kBrowseLayoutKey = "Browse window =";

// The layout of a settings line "Browse window = W H P1 P2 ...", or nothing when the line is
// not one or its numbers are not whole numbers from 1 to 100000.
std::optional<BrowseLayout> BrowseLayoutFromLine(std::string_view line);

// The line for a layout, CR LF included.
std::string BrowseLayoutLine(const BrowseLayout& layout);

// Keeps the layout in the session and, when the settings file exists, in it; a failure to
// write is shown.
void SaveBrowseLayout(Session& session, const BrowseLayout& layout);

}  // namespace zorvane::app
