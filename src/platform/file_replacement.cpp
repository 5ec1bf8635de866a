#include "platform/file_replacement.h"

#include "platform/file_system.h"
#include "platform/paths.h"

namespace zorvane::platform {

struct FileReplacement::Entry {
  std::string Target;
  std::string Backup;
  SafeFileWriter Writer;
  std::string Staged;    // the flushed temporary file, once Commit() has taken it over
  std::string SetAside;  // where an older backup waits until the end
};

namespace {

std::string AsideNameFor(const std::string& path) {
  static unsigned counter = 0;
  const std::string resolved = ResolvePath(path);
  return FolderPart(resolved) + "." + FileNamePart(resolved) + ".zorvane-aside-" +
         std::to_string(++counter);
}

}  // namespace

FileReplacement::FileReplacement() = default;

FileReplacement::~FileReplacement() {
  for (const auto& entry : entries_) {
    if (!entry->Staged.empty()) (void)DeleteFile(entry->Staged);
  }
}

Result<SafeFileWriter*> FileReplacement::Stage(const std::string& target,
                                               const std::string& backup) {
  auto writer = SafeFileWriter::Create(target);
  if (!writer)
    return Status::Failure("Cannot create a file beside " + target + ": " + writer.Reason());
  // The names as they exist now: a file keeps its spelling when its new version takes its place
  // and when a failed replacement puts it back.
  const std::string existingTarget = writer.Value().Target();
  entries_.push_back(std::make_unique<Entry>(
      Entry{existingTarget, ResolvePath(backup), std::move(writer).Value(), {}, {}}));
  return &entries_.back()->Writer;
}

void FileReplacement::Undo() {
  for (auto it = renames_.rbegin(); it != renames_.rend(); ++it) {
    (void)MoveFile(it->second, it->first);
  }
  renames_.clear();
}

Status FileReplacement::Commit() {
  for (const auto& entry : entries_) {
    if (auto flushed = entry->Writer.Flush(); !flushed) {
      return Status::Failure("Cannot write " + entry->Target + ": " + flushed.Reason());
    }
    entry->Staged = entry->Writer.Release();
  }
  const auto rename = [this](const std::string& from, const std::string& to) -> Status {
    if (auto moved = MoveFile(from, to); !moved) {
      Undo();
      return Status::Failure("Cannot rename " + from + " to " + to + ": " + moved.Reason());
    }
    renames_.emplace_back(from, to);
    return Status::Success();
  };
  for (const auto& entry : entries_) {
    if (!FileExists(entry->Backup)) continue;
    entry->SetAside = AsideNameFor(entry->Backup);
    if (auto moved = rename(entry->Backup, entry->SetAside); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (!FileExists(entry->Target)) continue;
    if (auto moved = rename(entry->Target, entry->Backup); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (auto moved = rename(entry->Staged, entry->Target); !moved) return moved;
  }
  renames_.clear();
  for (const auto& entry : entries_) entry->Staged.clear();
  // The replacement has succeeded; the older backups are no longer needed. A failed delete is
  // tried once more, so that a passing fault leaves no file behind.
  for (const auto& entry : entries_) {
    if (entry->SetAside.empty()) continue;
    if (!DeleteFile(entry->SetAside)) (void)DeleteFile(entry->SetAside);
  }
  return Status::Success();
}

}  // namespace zorvane::platform
