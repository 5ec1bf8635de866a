#include "platform/resolved_folder.h"

#include <dirent.h>

#include "platform/number_text.h"
#include "platform/paths.h"

namespace zorvane::platform {

ResolvedFolder::ResolvedFolder(const std::string& folder)
    : path_(WithTrailingSeparator(ResolvePath(folder))) {
  DIR* dir = ::opendir(path_.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    std::string name(entry->d_name);
    if (name == "." || name == "..") continue;
    auto [slot, added] = folded_.try_emplace(UpperCase(name), name);
    if (!added && name < slot->second) slot->second = name;
    exact_.insert(std::move(name));
  }
  ::closedir(dir);
}

std::string ResolvedFolder::PathOf(std::string_view name) {
  std::string wanted(name);
  if (exact_.contains(wanted)) return path_ + wanted;
  auto [slot, added] = folded_.try_emplace(UpperCase(wanted), wanted);
  if (added) exact_.insert(wanted);
  return path_ + slot->second;
}

}  // namespace zorvane::platform
