#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvane::platform {

// Whether `name` matches a wildcard pattern ('*' any run of characters, '?' one character),
// without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// The names of the files (not folders) in `folder` that match `pattern`, in ascending order of
// name compared without regard to case. A folder that does not exist lists nothing.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);

// The hidden file list of the main window: a folder, a pattern, and the names found by the
// last refresh.
struct FileListBox {
  std::string Path;
  std::string Pattern = "*.*";
  std::vector<std::string> Names;

  void Refresh() { Names = ListFiles(Path, Pattern); }
  int ListCount() const { return static_cast<int>(Names.size()); }
};

}  // namespace zorvane::platform
