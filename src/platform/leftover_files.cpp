#include "platform/leftover_files.h"

#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_entries.h"
#include "platform/processes.h"
#include "platform/safe_file.h"

namespace zorvane::platform {

namespace {

// Earlier versions named their temporary and set-aside files ".NAME.zorvane-[PURPOSE-]PID-N-N".
bool IsLeftOverOfEndedRun(std::string_view name) {
  const auto marker = name.find(".zorvane-");
  if (!name.starts_with('.') || marker == std::string_view::npos) return false;
  std::vector<std::string_view> parts;
  for (std::string_view rest = name.substr(marker + 9); !rest.empty();) {
    const auto dash = rest.find('-');
    parts.push_back(rest.substr(0, dash));
    rest = dash == std::string_view::npos ? std::string_view() : rest.substr(dash + 1);
  }
  if (parts.size() < 3) return false;
  const auto process = ProcessNumber(parts[parts.size() - 3]);
  return process && !ProcessRuns(*process);
}

}  // namespace

bool RemoveFile(const std::string& resolved) {
  return DeleteResolvedFile(resolved) || DeleteResolvedFile(resolved) ||
         !ResolvedFileExists(resolved);
}

void RemoveTemporaries(const std::string& resolvedFolder, TemporaryOwner owner) {
  for (const std::string& name : FolderEntryNames(resolvedFolder)) {
    if (IsTemporaryName(name, owner)) RemoveFile(resolvedFolder + name);
  }
}

bool IsLeftOver(std::string_view fileName) {
  return IsTemporaryName(fileName, TemporaryOwner::ThisFolder) || IsLeftOverOfEndedRun(fileName);
}

void RemoveLeftOvers(const std::string& resolvedFolder) {
  for (const std::string& name : FolderEntryNames(resolvedFolder)) {
    if (IsLeftOver(name)) RemoveFile(resolvedFolder + name);
  }
}

}  // namespace zorvane::platform
