#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The one place that reads the entries of a folder.
namespace zorvane::platform {

// What an entry is, as far as the folder itself says: a link, or an entry of a file system that
// does not say, is Unknown and must be looked at.
enum class EntryKind { File, Folder, Other, Unknown };

// Calls `visit` with the name and kind of every entry of `folder` but "." and "..", in no
// order; a folder that cannot be read has none. An empty folder name is the current folder.
void ForEachFolderEntry(const std::string& folder,
                        const std::function<void(std::string_view name, EntryKind kind)>& visit);

// The names of the entries of a folder, in no order; empty when it cannot be read.
std::vector<std::string> FolderEntryNames(const std::string& resolvedFolder);

}  // namespace zorvane::platform
