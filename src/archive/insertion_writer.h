#pragma once

#include <cstdint>
#include <string>

#include "archive/insertion_plan.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"

namespace zorvane::archive {

// The files an insertion reads and replaces, as the messages name them.
struct InsertionFiles {
  std::string ChosenPath;
  std::string ArchivePath;
  std::string ArchiveBackup;
  std::string IndexPath;
  std::string IndexBackup;
};

// Writes the new archive and the new PFPDATA.IDX whole under temporary names, flushed, then puts
// both in place, the current files becoming the backups (earlier backups are replaced). The
// archive blocks are copied through a fixed buffer, never read whole. `lock` is the DATA
// folder's. On failure the reason names the file, and says what was changed if anything was.
platform::CommitResult WriteInsertion(const platform::FolderLock& lock, const InsertionFiles& files,
                                      const platform::InputFile& archive,
                                      const platform::InputFile& chosen, const InsertionPlan& plan,
                                      std::int32_t indexHeader);

}  // namespace zorvane::archive
