#include "platform/file_replacement.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace zorvane::platform {

// Every path kept here is resolved: staging resolves it once, so that putting thousands of
// files in place never looks a name up again.
struct FileReplacement::Entry {
  std::string Target;
  std::string Backup;  // empty: the current version is not kept
  std::optional<SafeFileWriter> Writer;
  std::string Staged;    // the flushed temporary file
  std::string SetAside;  // an older backup, or the replaced file, until the end
};

namespace {

// Removes a file the replacement no longer needs; a failed delete is tried once more, so that
// a passing fault leaves no file behind.
void Remove(const std::string& resolved) {
  if (!DeleteResolvedFile(resolved)) (void)DeleteResolvedFile(resolved);
}

}  // namespace

FileReplacement::FileReplacement() = default;

FileReplacement::~FileReplacement() {
  for (const auto& entry : entries_) {
    if (!entry->Staged.empty()) Remove(entry->Staged);
  }
}

Result<SafeFileWriter*> FileReplacement::Add(Result<SafeFileWriter> writer,
                                             const std::string& backup) {
  if (!writer) return Status::Failure(writer.Reason());
  // The names as they exist now: a file keeps its spelling when its new version takes its place
  // and when a failed replacement puts it back.
  auto entry = std::make_unique<Entry>();
  entry->Target = writer.Value().Target();
  entry->Backup = backup.empty() ? std::string() : ResolvePath(backup);
  entry->Writer.emplace(std::move(writer).Value());
  entries_.push_back(std::move(entry));
  return &*entries_.back()->Writer;
}

Result<SafeFileWriter*> FileReplacement::Stage(const std::string& target, const std::string& backup,
                                               Durability durability) {
  auto writer = Add(SafeFileWriter::Create(target, durability), backup);
  if (!writer)
    return Status::Failure("Cannot create a file beside " + target + ": " + writer.Reason());
  return writer;
}

Status FileReplacement::Close(const ContentWriter& write) {
  Entry& entry = *entries_.back();
  Status written = write(*entry.Writer);
  if (written) written = entry.Writer->Flush();
  if (!written) {
    entries_.pop_back();  // the writer removes its temporary file
    return written;
  }
  entry.Staged = entry.Writer->Release();
  entry.Writer.reset();
  return Status::Success();
}

Status FileReplacement::StageBytes(const std::string& target, const std::string& backup,
                                   std::span<const std::uint8_t> bytes, Durability durability) {
  if (auto writer = Stage(target, backup, durability); !writer) {
    return Status::Failure(writer.Reason());
  }
  if (auto closed = Close([bytes](SafeFileWriter& out) { return out.Write(bytes); }); !closed) {
    return Status::Failure("Cannot write " + target + ": " + closed.Reason());
  }
  return Status::Success();
}

Status FileReplacement::StageWritten(const std::string& target, const std::string& backup,
                                     const ContentWriter& write, Durability durability) {
  if (auto writer = Add(SafeFileWriter::Create(target, durability), backup); !writer) {
    return Status::Failure(writer.Reason());
  }
  return Close(write);
}

Status FileReplacement::StageResolvedOutput(const std::string& resolvedTarget,
                                            const ContentWriter& write, Durability durability) {
  if (auto writer = Add(SafeFileWriter::CreateResolved(resolvedTarget, durability), std::string());
      !writer) {
    return Status::Failure(writer.Reason());
  }
  return Close(write);
}

Status FileReplacement::Rename(const std::string& from, const std::string& to) {
  if (auto moved = MoveResolvedFile(from, to); !moved) {
    Undo();
    return Status::Failure("Cannot rename " + from + " to " + to + ": " + moved.Reason());
  }
  renames_.emplace_back(from, to);
  return Status::Success();
}

void FileReplacement::Undo() {
  for (auto it = renames_.rbegin(); it != renames_.rend(); ++it) {
    (void)MoveResolvedFile(it->second, it->first);
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
    // An older backup gives way only to the current version; without one it is kept.
    if (entry->Backup.empty() || !ResolvedFileExists(entry->Backup) ||
        !ResolvedFileExists(entry->Target)) {
      continue;
    }
    entry->SetAside = UniqueSiblingName(entry->Backup, "aside");
    if (auto moved = Rename(entry->Backup, entry->SetAside); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (!ResolvedFileExists(entry->Target)) continue;
    if (entry->Backup.empty()) entry->SetAside = UniqueSiblingName(entry->Target, "aside");
    const std::string& to = entry->Backup.empty() ? entry->SetAside : entry->Backup;
    if (auto moved = Rename(entry->Target, to); !moved) return moved;
  }
  for (const auto& entry : entries_) {
    if (auto moved = Rename(entry->Staged, entry->Target); !moved) return moved;
  }
  renames_.clear();
  for (const auto& entry : entries_) entry->Staged.clear();
  // The replacement has succeeded; what was set aside is no longer needed.
  for (const auto& entry : entries_) {
    if (!entry->SetAside.empty()) Remove(entry->SetAside);
  }
  return Status::Success();
}

}  // namespace zorvane::platform
