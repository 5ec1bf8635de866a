#include "platform/transaction_steps.h"

#include <algorithm>
#include <vector>

#include "platform/checksum.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/leftover_files.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::platform {

namespace {

Status Renamed(const std::string& from, const std::string& to) {
  if (auto renamed = RenameResolvedFile(from, to); !renamed) {
    return Status::Failure("Cannot rename " + from + " to " + to + ": " + renamed.Reason());
  }
  return Status::Success();
}

bool Exists(const std::string& path, StepKnowledge knowledge, bool known) {
  return knowledge == StepKnowledge::Known ? known : ResolvedFileExists(path);
}

// Whether a file holds exactly the content the journal describes.
bool HoldsContent(const std::string& path, std::uint64_t length, std::uint64_t checksum) {
  auto file = InputFile::OpenResolved(path);
  if (!file || file.Value().Length() != length) return false;
  Checksum sum;
  std::vector<std::uint8_t> buffer(1 << 20);
  for (std::uint64_t offset = 0; offset < length;) {
    const auto part =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - offset));
    if (!file.Value().ReadAt(offset, std::span(buffer.data(), part))) return false;
    sum.Add(std::span<const std::uint8_t>(buffer.data(), part));
    offset += part;
  }
  return sum.Value() == checksum;
}

// Whether every new content is still to be had, in its temporary or in place already.
bool CanComplete(const Journal& journal) {
  return std::all_of(journal.Entries.begin(), journal.Entries.end(), [](const JournalEntry& e) {
    return ResolvedFileExists(e.Temporary) ? HoldsContent(e.Temporary, e.Length, e.Checksum)
                                           : HoldsContent(e.Target, e.Length, e.Checksum);
  });
}

std::string Recovered(const std::string& folder, const std::string& what) {
  return "Zorvane found a change of " + folder +
         " that a run which ended early had not finished, " + "and has " + what;
}

}  // namespace

Status PutNewVersion(const JournalEntry& entry, bool flush, StepKnowledge knowledge) {
  const bool lookedUp = knowledge == StepKnowledge::Look;
  if (lookedUp && !ResolvedFileExists(entry.Temporary)) return Status::Success();  // done before
  if (!entry.SecondName.empty() && (!lookedUp || ResolvedFileExists(entry.Target))) {
    // A second name from an interrupted attempt may be a partial copy: it is made again.
    if (lookedUp && ResolvedFileExists(entry.SecondName) && !RemoveFile(entry.SecondName)) {
      return Status::Failure("Cannot delete " + entry.SecondName);
    }
    if (auto linked = LinkOrCopyResolvedFile(entry.Target, entry.SecondName, flush); !linked) {
      return Status::Failure("Cannot keep the current " + entry.Target + " as " + entry.SecondName +
                             ": " + linked.Reason());
    }
  }
  return Renamed(entry.Temporary, entry.Target);
}

Status KeepOldVersions(std::span<const JournalEntry> entries, StepKnowledge knowledge) {
  std::vector<std::string> notKept;
  for (const JournalEntry& entry : entries) {
    if (entry.SecondName.empty() || !Exists(entry.SecondName, knowledge, true)) continue;
    if (entry.Backup.empty()) {
      if (!RemoveFile(entry.SecondName)) notKept.push_back("Cannot delete " + entry.SecondName);
      continue;
    }
    Status kept = Renamed(entry.SecondName, entry.Backup);
    if (!kept) kept = Renamed(entry.SecondName, entry.Backup);
    if (!kept) notKept.push_back(kept.Reason());
  }
  if (notKept.empty()) return Status::Success();
  return Status::Failure(JoinLines(notKept));
}

Status PutOldVersionsBack(std::span<const JournalEntry> entries) {
  std::vector<std::string> notUndone;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const JournalEntry& entry = *it;
    const bool secondName = !entry.SecondName.empty() && ResolvedFileExists(entry.SecondName);
    // Whether the new version took the file's name: its temporary is gone and the file holds it.
    // (An earlier undo that stopped half-way may have removed a temporary never put in place.)
    const bool temporaryLeft = ResolvedFileExists(entry.Temporary);
    const bool putInPlace =
        !temporaryLeft && HoldsContent(entry.Target, entry.Length, entry.Checksum);
    if (temporaryLeft) RemoveFile(entry.Temporary);
    if (!putInPlace) {
      if (secondName) RemoveFile(entry.SecondName);  // the current file is as it was
      continue;
    }
    if (entry.SecondName.empty()) {
      if (!RemoveFile(entry.Target)) {
        notUndone.push_back(entry.Target + " is new; delete it to undo the change.");
      }
      continue;
    }
    Status back = secondName ? Renamed(entry.SecondName, entry.Target)
                             : Status::Failure("it is no longer there");
    if (!back && secondName) back = Renamed(entry.SecondName, entry.Target);
    if (!back) {
      const std::string& old = secondName ? entry.SecondName : entry.Backup;
      notUndone.push_back(entry.Target + " holds its new version; the old one is in " + old +
                          ". Rename " + old + " to " + entry.Target + " to put it back (" +
                          back.Reason() + ").");
    }
  }
  if (notUndone.empty()) return Status::Success();
  return Status::Failure(JoinLines(notUndone));
}

std::string UndoFailedMessage(const std::string& failure, const std::string& notUndone,
                              const std::string& journalPath) {
  return JoinLines({"The change could not be made: " + failure,
                    "Nor could all of it be undone:", notUndone,
                    "The journal " + journalPath +
                        " records the change; the next run of Zorvane completes or undoes it."});
}

std::string BackupsUnfinishedMessage(const std::string& notKept) {
  return JoinLines(
      {"The new files are in place, but not every earlier version could be kept as "
       "its backup:",
       notKept, "The next run of Zorvane finishes the backups."});
}

Status RecoverUnderLock(const std::string& lockFolder, Ui& ui) {
  const std::string journalPath = lockFolder + kJournalFileName;
  if (!ResolvedFileExists(journalPath)) return Status::Success();
  const auto text = ReadWholeFile(journalPath);
  const auto journal =
      text ? ParseJournal(std::string_view(reinterpret_cast<const char*>(text.Value().data()),
                                           text.Value().size()),
                          lockFolder)
           : std::nullopt;
  if (!journal) {
    return Status::Failure("The journal " + journalPath +
                           " of an unfinished change cannot be read, so the change can be neither "
                           "completed nor undone. Nothing has been changed.");
  }
  std::string done;
  if (!journal->Committed) {
    done = "removed what it had begun to write; no file had been changed.";
  } else if (CanComplete(*journal)) {
    for (const JournalEntry& entry : journal->Entries) {
      if (auto put = PutNewVersion(entry, journal->Synced, StepKnowledge::Look); !put) {
        return Status::Failure(Recovered(lockFolder, "not been able to complete it: ") +
                               put.Reason());
      }
    }
    if (auto kept = KeepOldVersions(journal->Entries, StepKnowledge::Look); !kept) {
      return Status::Failure(Recovered(lockFolder, "not been able to complete it: ") +
                             kept.Reason());
    }
    done = "completed it: " + std::to_string(journal->Entries.size()) +
           " files are in their new version, with their backups.";
  } else {
    if (auto back = PutOldVersionsBack(journal->Entries); !back) {
      return Status::Failure(Recovered(lockFolder, "not been able to undo it: ") + back.Reason());
    }
    done = "undone it: the files are as they were before it.";
  }
  // Another folder's own temporaries belong to its lock's holder, not to this journal.
  for (const std::string& folder : journal->Folders) {
    RemoveTemporaries(folder, folder.starts_with(lockFolder) ? TemporaryOwner::ThisFolder
                                                             : TemporaryOwner::JournalElsewhere);
    if (journal->Synced) (void)FlushFolder(folder);
  }
  RemoveTemporaries(lockFolder, TemporaryOwner::ThisFolder);
  RemoveFile(journalPath);
  if (journal->Synced) (void)FlushFolder(lockFolder);
  ui.ShowMessage(Recovered(lockFolder, done));
  return Status::Success();
}

}  // namespace zorvane::platform
