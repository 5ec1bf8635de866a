#include "platform/paths.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/folder_entries.h"
#include "platform/number_text.h"
#include "platform/os_calls.h"

namespace zorvane::platform {

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || !IsSeparator(folder.back())) folder.push_back(kSeparator);
  return folder;
}

std::string NativeRelative(std::string_view backslashName) {
  std::string result(backslashName);
  std::replace(result.begin(), result.end(), '\\', kSeparator);
  return result;
}

std::string FolderPart(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  if (last == std::string_view::npos) return {};
  return std::string(path.substr(0, last + 1));
}

std::string FileNamePart(std::string_view path) {
  const auto last = path.find_last_of(kSeparators);
  if (last == std::string_view::npos) return std::string(path);
  return std::string(path.substr(last + 1));
}

bool CutShortBySystem(std::string_view path) {
  return path.find('\0') != std::string_view::npos;
}

bool IsAbsolutePath(std::string_view path) {
  if (!path.empty() && IsSeparator(path.front())) return true;
#ifdef _WIN32
  return path.size() >= 3 && AsciiUpper(path[0]) >= 'A' && AsciiUpper(path[0]) <= 'Z' &&
         path[1] == ':' && IsSeparator(path[2]);
#else
  return false;
#endif
}

std::string AbsolutePath(std::string_view path) {
  if (IsAbsolutePath(path)) return std::string(path);
  return WithTrailingSeparator(os::CurrentFolder()) + std::string(path);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(x) == AsciiUpper(y);
         });
}

namespace {

// The name of the entry of `folder` that equals `wanted` without regard to case; the first in
// byte order when several do, so that the choice does not depend on the directory's order.
std::optional<std::string> FindEntryIgnoringCase(const std::string& folder,
                                                 std::string_view wanted) {
  std::optional<std::string> best;
  ForEachFolderEntry(folder, [&best, wanted](std::string_view name, EntryKind) {
    if (EqualIgnoringCase(name, wanted) && (!best || name < *best)) best = std::string(name);
  });
  return best;
}

}  // namespace

std::string ResolvePath(std::string_view path) {
  std::string resolved;
  std::size_t position = 0;
  if (!path.empty() && IsSeparator(path.front())) {
    resolved.push_back(path.front());
    position = 1;
  }
  bool searching = true;  // once a part does not exist, nothing below it can
  while (position < path.size()) {
    const auto end = std::min(path.find_first_of(kSeparators, position), path.size());
    const std::string_view part = path.substr(position, end - position);
    if (!part.empty()) {
      if (searching && part != "." && part != "..") {
        std::string candidate = resolved + std::string(part);
        if (auto spelled = os::ExistingSpelling(candidate)) {
          candidate = resolved + *spelled;
        } else if (auto match = os::kLookupIgnoresCase ? std::nullopt
                                                       : FindEntryIgnoringCase(resolved, part)) {
          candidate = resolved + *match;
        } else {
          searching = false;
        }
        resolved = std::move(candidate);
      } else {
        resolved += part;
      }
    }
    if (end < path.size()) resolved.push_back(path[end]);
    position = end + 1;
  }
  return resolved;
}

}  // namespace zorvane::platform
