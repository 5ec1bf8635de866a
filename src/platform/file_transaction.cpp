#include "platform/file_transaction.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/file_system.h"
#include "platform/folder_entries.h"
#include "platform/journal.h"
#include "platform/leftover_files.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"
#include "platform/transaction_steps.h"

namespace zorvane::platform {

struct FileTransaction::State {
  std::string LockFolder;
  Journal Plan;  // Entries filled as files are staged; Folders as temporaries are made
  bool JournalWritten = false;
  std::vector<std::unique_ptr<SafeFileWriter>> OpenWriters;  // by entry; null once closed
  std::size_t PutInPlace = 0;  // entries whose temporary has been renamed over the target
  bool Committed = false;
};

namespace {

Status WriteJournal(const Journal& journal, const std::string& folder) {
  const auto failed = [&folder](const std::string& reason) {
    return Status::Failure("Cannot write the journal in " + folder + ": " + reason);
  };
  const Durability durability = journal.Synced ? Durability::Synced : Durability::Unsynced;
  auto writer = SafeFileWriter::CreateResolved(folder + kJournalFileName, durability);
  if (!writer) return failed(writer.Reason());
  SafeFileWriter& out = writer.Value();
  if (auto written = SerialiseJournal(journal, folder,
                                      [&out](std::string_view piece) { return out.Write(piece); });
      !written) {
    return failed(written.Reason());
  }
  if (auto flushed = writer.Value().Flush(); !flushed) return failed(flushed.Reason());
  const std::string temporary = writer.Value().Release();
  if (auto renamed = RenameResolvedFile(temporary, folder + kJournalFileName); !renamed) {
    RemoveFile(temporary);
    return failed(renamed.Reason());
  }
  if (journal.Synced) {
    if (auto flushed = FlushFolder(folder); !flushed) {
      return Status::Failure("Cannot flush the folder " + folder + ": " + flushed.Reason());
    }
  }
  return Status::Success();
}

void DeleteJournal(const std::string& folder, bool synced) {
  RemoveFile(folder + kJournalFileName);
  if (synced) (void)FlushFolder(folder);
}

std::vector<std::string> TargetFolders(const Journal& journal) {
  std::set<std::string> folders;
  for (const JournalEntry& entry : journal.Entries) folders.insert(FolderPart(entry.Target));
  return {folders.begin(), folders.end()};
}

// Two entries that would write the same file, or a backup that is another file of the change.
std::optional<std::string> Clash(const Journal& journal) {
  // Sorted views of the names: little memory beside a journal of many thousand files.
  std::vector<std::string_view> targets;
  targets.reserve(journal.Entries.size());
  for (const JournalEntry& entry : journal.Entries) targets.emplace_back(entry.Target);
  std::sort(targets.begin(), targets.end());
  if (const auto twice = std::adjacent_find(targets.begin(), targets.end());
      twice != targets.end()) {
    return "The file " + std::string(*twice) + " would be written twice by one change.";
  }
  for (const JournalEntry& entry : journal.Entries) {
    if (!entry.Backup.empty() &&
        std::binary_search(targets.begin(), targets.end(), std::string_view(entry.Backup))) {
      return "The backup of " + entry.Target + " would take the place of " + entry.Backup +
             ", which the same change writes.";
    }
  }
  return std::nullopt;
}

}  // namespace

TemporaryOwner FileTransaction::OwnerOf(const std::string& resolved) const {
  return resolved.starts_with(state_->LockFolder) ? TemporaryOwner::ThisFolder
                                                  : TemporaryOwner::JournalElsewhere;
}

FileTransaction::FileTransaction(const FolderLock& lock) : state_(std::make_unique<State>()) {
  state_->LockFolder = lock.Folder();
}

FileTransaction::~FileTransaction() {
  Abandon();
}

void FileTransaction::Abandon() {
  State& state = *state_;
  if (state.Committed) return;
  state.OpenWriters.clear();  // each removes its temporary file
  for (std::size_t i = state.PutInPlace; i < state.Plan.Entries.size(); ++i) {
    const std::string& temporary = state.Plan.Entries[i].Temporary;
    if (!temporary.empty()) RemoveFile(temporary);
  }
  state.PutInPlace = state.Plan.Entries.size();
  if (state.JournalWritten) DeleteJournal(state.LockFolder, false);
  state.JournalWritten = false;
}

std::size_t FileTransaction::StagedCount() const {
  return state_->Plan.Entries.size();
}

void FileTransaction::Reserve(std::size_t files) {
  state_->Plan.Entries.reserve(state_->Plan.Entries.size() + files);
  state_->OpenWriters.reserve(state_->OpenWriters.size() + files);
}

Result<SafeFileWriter*> FileTransaction::StageResolved(const std::string& resolved,
                                                       const std::string& resolvedBackup,
                                                       Durability durability, bool targetNew) {
  const std::string folder = FolderPart(resolved);
  Journal& plan = state_->Plan;
  if (std::find(plan.Folders.begin(), plan.Folders.end(), folder) == plan.Folders.end()) {
    // The journal names every folder that gets temporaries before the first is made there, so
    // that they are found and removed should this run end before it commits.
    plan.Folders.push_back(folder);
    const Journal staging{false, false, plan.Folders, {}};
    if (auto written = WriteJournal(staging, state_->LockFolder); !written) {
      plan.Folders.pop_back();
      return Status::Failure(written.Reason());
    }
    state_->JournalWritten = true;
  }
  auto writer = SafeFileWriter::CreateResolved(resolved, durability, OwnerOf(resolved), targetNew);
  if (!writer) return Status::Failure(writer.Reason());
  JournalEntry entry;
  entry.Target = resolved;
  entry.Backup = resolvedBackup;
  entry.TargetNew = targetNew;
  plan.Entries.push_back(std::move(entry));
  if (durability == Durability::Synced) plan.Synced = true;
  state_->OpenWriters.push_back(std::make_unique<SafeFileWriter>(std::move(writer).Value()));
  return state_->OpenWriters.back().get();
}

Result<SafeFileWriter*> FileTransaction::Stage(const std::string& target, const std::string& backup,
                                               Durability durability) {
  auto writer =
      StageResolved(ResolvePath(target), backup.empty() ? backup : ResolvePath(backup), durability);
  if (!writer) {
    return Status::Failure("Cannot create a file beside " + target + ": " + writer.Reason());
  }
  return writer;
}

namespace {

// Closes a writer; records the temporary, length and checksum of what it wrote.
Status Close(std::unique_ptr<SafeFileWriter>& writer, JournalEntry& entry) {
  if (auto flushed = writer->Flush(); !flushed) return flushed;
  entry.Length = writer->Length();
  entry.Checksum = writer->ChecksumValue();
  entry.Temporary = writer->Release();
  writer.reset();
  return Status::Success();
}

}  // namespace

Status FileTransaction::WriteAndClose(Result<SafeFileWriter*> staged, const ContentWriter& write) {
  if (!staged) return Status::Failure(staged.Reason());
  Status written = write(*staged.Value());
  if (written) written = Close(state_->OpenWriters.back(), state_->Plan.Entries.back());
  if (!written) {
    state_->OpenWriters.pop_back();  // the writer removes its temporary file
    state_->Plan.Entries.pop_back();
  }
  return written;
}

Status FileTransaction::StageWritten(const std::string& target, const std::string& backup,
                                     const ContentWriter& write, Durability durability) {
  return WriteAndClose(
      StageResolved(ResolvePath(target), backup.empty() ? backup : ResolvePath(backup), durability),
      write);
}

Status FileTransaction::StageBytes(const std::string& target, const std::string& backup,
                                   std::span<const std::uint8_t> bytes, Durability durability) {
  const auto write = [bytes](SafeFileWriter& out) { return out.Write(bytes); };
  if (auto staged = StageWritten(target, backup, write, durability); !staged) {
    return Status::Failure("Cannot write " + target + ": " + staged.Reason());
  }
  return Status::Success();
}

Status FileTransaction::StageResolvedOutput(const std::string& resolvedTarget,
                                            const ContentWriter& write, Durability durability,
                                            bool targetNew) {
  return WriteAndClose(StageResolved(resolvedTarget, std::string(), durability, targetNew), write);
}

CommitResult FileTransaction::Commit() {
  State& state = *state_;
  Journal& plan = state.Plan;
  for (std::size_t i = 0; i < state.OpenWriters.size(); ++i) {
    if (!state.OpenWriters[i]) continue;
    if (auto closed = Close(state.OpenWriters[i], plan.Entries[i]); !closed) {
      Abandon();
      return {Status::Failure("Cannot write " + plan.Entries[i].Target + ": " + closed.Reason())};
    }
  }
  if (plan.Entries.empty()) return {};
  if (const auto clash = Clash(plan)) {
    Abandon();
    return {Status::Failure(*clash)};
  }
  for (JournalEntry& entry : plan.Entries) {
    if (!entry.TargetNew && ResolvedFileExists(entry.Target)) {
      entry.SecondName = TemporaryNameBeside(entry.Target, OwnerOf(entry.Target));
    }
  }
  plan.Committed = true;
  plan.Folders = TargetFolders(plan);
  if (auto written = WriteJournal(plan, state.LockFolder); !written) {
    plan.Committed = false;
    Abandon();
    return {written};
  }
  state.JournalWritten = true;

  for (; state.PutInPlace < plan.Entries.size(); ++state.PutInPlace) {
    const JournalEntry& entry = plan.Entries[state.PutInPlace];
    if (auto put = PutNewVersion(entry, plan.Synced, StepKnowledge::Known); !put) {
      const std::span<const JournalEntry> begun(plan.Entries.data(), state.PutInPlace + 1);
      if (auto undone = PutOldVersionsBack(begun); !undone) {
        state.Committed = true;  // the journal stays for the next run
        return {Status::Failure(UndoFailedMessage(put.Reason(), undone.Reason(),
                                                  state.LockFolder + kJournalFileName)),
                true};
      }
      // The temporaries not yet put in place go before the journal that names their folders.
      for (std::size_t i = state.PutInPlace + 1; i < plan.Entries.size(); ++i) {
        RemoveFile(plan.Entries[i].Temporary);
      }
      state.PutInPlace = plan.Entries.size();
      DeleteJournal(state.LockFolder, plan.Synced);
      state.JournalWritten = false;
      return {put};
    }
  }
  state.Committed = true;
  if (auto kept = KeepOldVersions(plan.Entries, StepKnowledge::Known); !kept) {
    return {Status::Failure(BackupsUnfinishedMessage(kept.Reason())), true};
  }
  if (plan.Synced) {
    for (const std::string& folder : plan.Folders) (void)FlushFolder(folder);
  }
  // The renames are on the disk; should a power cut bring the journal back, the next run finds
  // every file in its new version and only says so. That saves a flush of the folder.
  DeleteJournal(state.LockFolder, false);
  return {};
}

Result<FolderLock> LockForChanges(const std::string& folder, Ui& ui) {
  auto lock = FolderLock::Take(folder, LockMode::Exclusive);
  if (!lock) return lock;
  if (lock.Value().First()) {
    if (auto recovered = RecoverUnderLock(lock.Value().Folder(), ui); !recovered) {
      return Status::Failure(recovered.Reason());
    }
    RemoveLeftOvers(lock.Value().Folder());
  }
  return lock;
}

Status ReplaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, Ui& ui,
                        std::string_view described) {
  const auto notWritten = [&](std::string reason) {
    if (!reason.ends_with('.')) reason += '.';
    return Status::Failure(std::string(described) + " " + path + " cannot be written: " + reason);
  };
  MessagesAfterUnlock messages(ui);
  const auto lock = LockForChanges(FolderPart(path), messages);
  if (!lock) return notWritten(lock.Reason());
  FileTransaction transaction(lock.Value());
  if (auto staged = transaction.StageBytes(path, std::string(), bytes); !staged) {
    return notWritten(staged.Reason());
  }
  if (auto committed = transaction.Commit(); !committed) {
    return Status::Failure(
        committed.FailureMessage(notWritten(committed.Outcome.Reason()).Reason()));
  }
  return Status::Success();
}

void RecoverInterrupted(const std::string& folder, Ui& ui) {
  if (folder.empty()) return;
  const auto names = FolderEntryNames(WithTrailingSeparator(ResolvePath(folder)));
  if (std::none_of(names.begin(), names.end(), [](const std::string& name) {
        return name == kJournalFileName || IsLeftOver(name);
      })) {
    return;
  }
  // What lies under a lock someone holds belongs to a live run, which finishes it itself. The
  // message waits until the lock is let go.
  MessagesAfterUnlock messages(ui);
  auto lock = FolderLock::Take(folder, LockMode::Exclusive, std::chrono::milliseconds(0));
  if (!lock || !lock.Value().First()) return;
  if (auto recovered = RecoverUnderLock(lock.Value().Folder(), messages); !recovered) {
    messages.ShowMessage(recovered.Reason());
    return;
  }
  RemoveLeftOvers(lock.Value().Folder());
}

bool JournalPending(const std::string& folder) {
  return !folder.empty() &&
         ResolvedFileExists(WithTrailingSeparator(ResolvePath(folder)) + kJournalFileName);
}

}  // namespace zorvane::platform
