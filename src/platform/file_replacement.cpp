#include "platform/file_replacement.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace zorvane::platform {

struct FileReplacement::Entry {
  std::string Target;
  std::string Backup;  // empty: the current version is not kept
  std::optional<SafeFileWriter> Writer;
  std::string Staged;    // the flushed temporary file
  std::string SetAside;  // an older backup, or the replaced file, until the end
};

namespace {

std::string AsideNameFor(const std::string& resolved) {
  static unsigned counter = 0;
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

Result<SafeFileWriter*> FileReplacement::Stage(const std::string& target, const std::string& backup,
                                               Durability durability) {
  auto writer = SafeFileWriter::Create(target, durability);
  if (!writer) {
    return Status::Failure("Cannot create a file beside " + target + ": " + writer.Reason());
  }
  // The names as they exist now: a file keeps its spelling when its new version takes its place
  // and when a failed replacement puts it back.
  auto entry = std::make_unique<Entry>();
  entry->Target = writer.Value().Target();
  entry->Backup = backup.empty() ? std::string() : ResolvePath(backup);
  entry->Writer.emplace(std::move(writer).Value());
  entries_.push_back(std::move(entry));
  return &*entries_.back()->Writer;
}

Status FileReplacement::StageBytes(const std::string& target, const std::string& backup,
                                   std::span<const std::uint8_t> bytes, Durability durability) {
  auto writer = Stage(target, backup, durability);
  if (!writer) return Status::Failure(writer.Reason());
  Entry& entry = *entries_.back();
  if (auto written = entry.Writer->Write(bytes); !written) {
    entries_.pop_back();
    return Status::Failure("Cannot write " + target + ": " + written.Reason());
  }
  if (auto flushed = entry.Writer->Flush(); !flushed) {
    entries_.pop_back();
    return Status::Failure("Cannot write " + target + ": " + flushed.Reason());
  }
  entry.Staged = entry.Writer->Release();
  entry.Writer.reset();
  return Status::Success();
}

Status FileReplacement::Rename(const std::string& from, const std::string& to) {
  if (auto moved = MoveFile(from, to); !moved) {
    Undo();
    return Status::Failure("Cannot rename " + from + " to " + to + ": " + moved.Reason());
  }
  renames_.emplace_back(from, to);
  return Status::Success();
}

void FileReplacement::Undo() {
  for (auto it = renames_.rbegin(); it != renames_.rend(); ++it) {
    (void)MoveFile(it->second, it->first);
  }
  renames_.clear();
}

Status FileReplacement::Commit() {
  for (const auto& entry : entries_) {
    if (!entry->Writer) continue;  // staged whole already
    if (auto flushed = entry->Writer->Flush(); !flushed) {
      return Status::Failure("Cannot write " + entry->Target + ": " + flushed.Reason());
    }
    entry->Staged = entry->Writer->Release();
    entry->Writer.reset();
  }
  for (const auto& entry : entries_) {
    if (entry->Backup.empty() || !FileExists(entry->Backup)) continue;
    entry->SetAside = AsideNameFor(entry->Backup);
    if (auto moved = Rename(entry->Backup, entry->SetAside); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (!FileExists(entry->Target)) continue;
    if (entry->Backup.empty()) entry->SetAside = AsideNameFor(entry->Target);
    const std::string& to = entry->Backup.empty() ? entry->SetAside : entry->Backup;
    if (auto moved = Rename(entry->Target, to); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (auto moved = Rename(entry->Staged, entry->Target); !moved) return moved;
  }
  renames_.clear();
  for (const auto& entry : entries_) entry->Staged.clear();
  // The replacement has succeeded; what was set aside is no longer needed. A failed delete is
  // tried once more, so that a passing fault leaves no file behind.
  for (const auto& entry : entries_) {
    if (entry->SetAside.empty()) continue;
    if (!DeleteFile(entry->SetAside)) (void)DeleteFile(entry->SetAside);
  }
  return Status::Success();
}

}  // namespace zorvane::platform
