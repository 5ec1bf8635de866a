#include "platform/folder_entries.h"

#include "platform/paths.h"
#include "platform/win32/windows_text.h"

namespace zorvane::platform {

namespace {

EntryKind KindOf(const WIN32_FIND_DATAW& entry) {
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::Unknown;
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return EntryKind::Other;
  return EntryKind::File;
}

}  // namespace

void ForEachFolderEntry(const std::string& folder,
                        const std::function<void(std::string_view name, EntryKind kind)>& visit) {
  if (CutShortBySystem(folder)) return;
  const std::string pattern =
      (folder.empty() ? std::string() : WithTrailingSeparator(folder)) + "*";
  WIN32_FIND_DATAW entry{};
  const HANDLE search =
      ::FindFirstFileExW(win32::WidePath(pattern).c_str(), FindExInfoBasic, &entry,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = win32::Utf8(entry.cFileName);
    if (name != "." && name != "..") visit(name, KindOf(entry));
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
}

}  // namespace zorvane::platform
