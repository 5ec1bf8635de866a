#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace zorvane::platform {

// One folder whose entries are looked up without regard to case from a single listing, for
// workers that write thousands of files into it: resolving each new name on its own would scan
// the whole folder every time. The folder's own path is resolved once; the listing is taken
// once and then kept up to date with the names handed out, so the folder must not be changed
// by anyone else while the object is in use.
class ResolvedFolder {
 public:
  explicit ResolvedFolder(const std::string& folder);

  // The path of `name` in the folder, resolved as ResolvePath does: an entry of that exact
  // name, else the first in byte order that matches without regard to case, else the name as
  // given (which later calls then find).
  std::string PathOf(std::string_view name);

  // The folder, resolved, ending in the separator.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::unordered_set<std::string> exact_;
  // Upper-case name to the entry that answers for it.
  std::unordered_map<std::string, std::string> folded_;
};

}  // namespace zorvane::platform
