#pragma once

#include <cstdint>
#include <string>

#include "archive/insertion_plan.h"
#include "platform/file_system.h"
#include "platform/result.h"

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
// archive blocks are copied through a fixed buffer, never read whole. On failure every file is
// as it was and the reason names the file.
platform::Status WriteInsertion(const InsertionFiles& files, const platform::InputFile& archive,
                                const platform::InputFile& chosen, const InsertionPlan& plan,
                                std::int32_t indexHeader);

}  // namespace zorvane::archive
