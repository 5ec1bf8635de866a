#include "platform/folder_entries.h"

namespace zorvane::platform {

std::vector<std::string> FolderEntryNames(const std::string& resolvedFolder) {
  std::vector<std::string> names;
  ForEachFolderEntry(resolvedFolder,
                     [&names](std::string_view name, EntryKind) { names.emplace_back(name); });
  return names;
}

}  // namespace zorvane::platform
