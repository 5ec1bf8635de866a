#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/result.h"
#include "platform/safe_file.h"
#include "platform/ui.h"

namespace zorvane::platform {

// The hidden file in a locked folder that records a transaction being put in place.
inline constexpr char kJournalFileName[] = ".zorvane-journal";

// How a commit ended. A failure either changed nothing (the reason says why) or, rarely, could
// not undo what it had begun; then the reason is the whole message for the user, naming every
// file, where its old and new contents are, and how to put them back.
struct [[nodiscard]] CommitResult {
  Status Outcome = Status::Success();
  bool ChangedFiles = false;

  explicit operator bool() const { return Outcome.Ok(); }
  // The message to show for a failure: `nothingChanged` when nothing was changed, else the
  // reason, which says itself what was changed.
  std::string FailureMessage(const std::string& nothingChanged) const {
    return ChangedFiles ? Outcome.Reason() : nothingChanged;
  }
};

// Replaces one or more files together, all or nothing, under the exclusive lock of a folder:
//  1. each new file is written whole under a temporary name in its final folder and flushed;
//  2. a journal in the locked folder lists every final name, temporary, backup, length and
//     checksum, and is flushed with its folder: from here on the change will be completed;
//  3. each current file gets a second name (a hard link, or a copy where links do not exist),
//     then its new version is renamed over it, so the name never disappears; then the second
//     name is renamed over the file's backup, or deleted where no backup is kept;
//  4. the folders are flushed and the journal deleted.
// A failure before step 3 removes the temporaries; a failure in step 3 puts back every file
// done so far. After a crash at any moment, RecoverInterrupted() completes the change from
// the journal, or undoes it, so the files are entirely the old ones or entirely the new ones,
// each with its backup. Destroying an uncommitted transaction changes nothing.
class FileTransaction {
 public:
  explicit FileTransaction(const FolderLock& lock);
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;
  ~FileTransaction();

  // Starts the new content of `target`, whose current version will become `backup` (or, with
  // an empty backup name, will not be kept). The writer stays valid until Commit() or the end of
  // the transaction.
  Result<SafeFileWriter*> Stage(const std::string& target, const std::string& backup,
                                Durability durability = Durability::Synced);

  // Writes the whole new content of `target` at once and closes it, so that any number of
  // files can be staged without keeping them open.
  Status StageBytes(const std::string& target, const std::string& backup,
                    std::span<const std::uint8_t> bytes,
                    Durability durability = Durability::Synced);

  // Writes the whole new content of `target` through `write` and closes it, like StageBytes.
  // A failure gives the reason of the step that failed as the platform gave it, for callers
  // that name the file in their own words.
  using ContentWriter = std::function<Status(SafeFileWriter&)>;
  Status StageWritten(const std::string& target, const std::string& backup,
                      const ContentWriter& write, Durability durability = Durability::Synced);
  // The same for one of the tool's own outputs, replaced without backup, whose path is resolved
  // already (ResolvedFolder): thousands of them are staged without scanning their folder.
  // `targetNew` says that the folder's listing has no such file, which spares looking for it.
  Status StageResolvedOutput(const std::string& resolvedTarget, const ContentWriter& write,
                             Durability durability = Durability::Unsynced,
                             bool targetNew = false);

  // Puts every staged file in place as described above. A failure that changed nothing removes
  // every temporary file at once.
  CommitResult Commit();

  std::size_t StagedCount() const;
  // Makes room for `files` more staged files at once, for a change of many thousand files
  // whose bookkeeping would otherwise be moved, and held twice, as it grows.
  void Reserve(std::size_t files);

 private:
  struct State;
  // Stage() for paths resolved already: nothing is looked up.
  Result<SafeFileWriter*> StageResolved(const std::string& resolved,
                                        const std::string& resolvedBackup, Durability durability,
                                        bool targetNew = false);
  // Writes the content of the file just staged and closes it; drops it again on failure.
  Status WriteAndClose(Result<SafeFileWriter*> staged, const ContentWriter& write);
  // Removes the temporaries and the journal of a transaction that will not be committed.
  void Abandon();
  // Temporaries outside the locked folder are named for a journal elsewhere.
  TemporaryOwner OwnerOf(const std::string& resolved) const;
  std::unique_ptr<State> state_;
};

// Takes the exclusive lock of `folder` for a command that changes it, first completing or
// undoing a transaction that a crashed run left there (saying so through `ui` in one line) and
// removing the temporary files of runs that no longer run.
Result<FolderLock> LockForChanges(const std::string& folder, Ui& ui);

// Replaces the one file `path` (no backup kept) by `bytes` through a transaction of its folder:
// the file is the old one or the new one, never a part. A failure gives the whole sentence to
// show: `described` ("The file"), the path, "cannot be written:" and the reason. A recovery's
// line is shown through `ui` once the lock is let go.
Status ReplaceWholeFile(const std::string& path, std::span<const std::uint8_t> bytes, Ui& ui,
                        std::string_view described = "The file");

// Completes or undoes the transaction a crashed run left in `folder`, if any, and says in one
// line what it did; does nothing while another program holds the folder. Every command and the
// desktop program's start-up call it for the folders they use.
void RecoverInterrupted(const std::string& folder, Ui& ui);

// Whether `folder` holds the journal of a transaction that is neither completed nor undone.
bool JournalPending(const std::string& folder);

}  // namespace zorvane::platform
