#pragma once

#include <span>
#include <string>

#include "platform/journal.h"
#include "platform/result.h"
#include "platform/ui.h"

// The steps of putting a transaction's files in place, shared by a commit and by the recovery
// of a commit that a crash interrupted.
namespace zorvane::platform {

// Known: the caller knows which files exist (a commit in progress). Look: look at the disk
// first (a recovery, which may find any step half done).
enum class StepKnowledge { Known, Look };

// The current file gets its second name, then the new version is renamed over it.
Status PutNewVersion(const JournalEntry& entry, bool flush, StepKnowledge knowledge);

// The second names become the backups, or are deleted where no backup is kept; each step is
// tried twice. The reason names each file whose earlier version could not be kept.
Status KeepOldVersions(std::span<const JournalEntry> entries, StepKnowledge knowledge);

// Undoes PutNewVersion for the entries, the last first, whatever of it was done. The reason
// names each file that could not be put back, where its old and new contents are, and how to
// put it back by hand.
Status PutOldVersionsBack(std::span<const JournalEntry> entries);

std::string UndoFailedMessage(const std::string& failure, const std::string& notUndone,
                              const std::string& journalPath);
std::string BackupsUnfinishedMessage(const std::string& notKept);

// Completes or undoes the transaction whose journal lies in `lockFolder` (resolved, with the
// separator), whose lock the caller holds, and says in one line what it did. Fails, changing
// nothing more, when the journal cannot be read or the change can be neither completed nor
// undone; the reason is the message for the user.
Status RecoverUnderLock(const std::string& lockFolder, Ui& ui);

}  // namespace zorvane::platform
