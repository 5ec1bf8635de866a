#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

// The journal of a transaction (FileTransaction): what a crashed run was putting in place, so
// that the next run can complete it or undo it.
namespace zorvane::platform {

// One file of the transaction; every path resolved.
struct JournalEntry {
  std::string Target;
  std::string Temporary;     // the new content until it is renamed over Target
  std::string SecondName;    // the current content's second name; empty: there was none
  std::string Backup;        // where the current content goes; empty: it is not kept
  std::uint64_t Length = 0;  // of the new content
  std::uint64_t Checksum = 0;
  // Not written into the journal: the target did not exist when it was staged under the lock,
  // so the commit need not look for a current version to give a second name.
  bool TargetNew = false;
};

struct Journal {
  // False while the new files are being written: nothing has been put in place, and the
  // transaction can only be undone.
  bool Committed = false;
  bool Synced = false;
  // The folders that hold the transaction's temporary files.
  std::vector<std::string> Folders;
  std::vector<JournalEntry> Entries;
};

// The journal as text. Paths inside `journalFolder` are written relative to it, so that an
// installation moved elsewhere after a crash is still recovered.
std::string SerialiseJournal(const Journal& journal, std::string_view journalFolder);
// The same text handed to `sink` in pieces of some ten kilobytes, in order; stops at the first
// piece the sink fails to take, with its failure.
using JournalSink = std::function<Status(std::string_view piece)>;
Status SerialiseJournal(const Journal& journal, std::string_view journalFolder,
                        const JournalSink& sink);

// The journal read back; nothing when the text is not a whole journal.
std::optional<Journal> ParseJournal(std::string_view text, std::string_view journalFolder);

}  // namespace zorvane::platform
