#include "platform/folder_entries.h"

#include <dirent.h>

#include "platform/paths.h"

namespace zorvane::platform {

namespace {

EntryKind KindOf(unsigned char type) {
  switch (type) {
    case DT_REG:
      return EntryKind::File;
    case DT_DIR:
      return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
      return EntryKind::Unknown;
    default:
      return EntryKind::Other;
  }
}

}  // namespace

void ForEachFolderEntry(const std::string& folder,
                        const std::function<void(std::string_view name, EntryKind kind)>& visit) {
  if (CutShortBySystem(folder)) return;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") visit(name, KindOf(entry->d_type));
  }
  ::closedir(dir);
}

}  // namespace zorvane::platform
