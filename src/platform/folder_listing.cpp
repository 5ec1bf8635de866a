#include "platform/folder_listing.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/folder_entries.h"
#include "platform/number_text.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

unsigned char Upper(char c) {
  return static_cast<unsigned char>(AsciiUpper(c));
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (Upper(a[i]) != Upper(b[i])) return Upper(a[i]) < Upper(b[i]);
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;  // names that differ only in case keep a fixed order
}

// Whether a folder entry is a regular file, or a link to one. Most file systems say so in the
// entry itself; only where they do not (or for a link) is the file looked at.
bool IsRegularFile(const std::string& folder, std::string_view name, EntryKind kind) {
  if (kind != EntryKind::Unknown) return kind == EntryKind::File;
  struct stat info {};
  return ::stat((folder + std::string(name)).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // Iterative matching with one backtrack point for the last '*'.
  std::size_t n = 0, p = 0, starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
  std::vector<std::string> names;
  if (folder.empty()) return names;  // no folder chosen yet, not the root
  const std::string resolved = WithTrailingSeparator(ResolvePath(folder));
  ForEachFolderEntry(resolved, [&](std::string_view name, EntryKind kind) {
    if (name.front() == '.' || !MatchesWildcard(name, pattern)) return;
    if (IsRegularFile(resolved, name, kind)) names.emplace_back(name);
  });
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

}  // namespace zorvane::platform
