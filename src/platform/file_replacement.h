#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::platform {

// Replaces one or more files together. Game files keep their previous version under a backup
// name (one generation); the tool's own outputs may be replaced without a backup. The new
// contents are written whole under temporary names and flushed first; only then are files
// renamed: an older backup (or a file replaced without backup) is set aside, the current file
// becomes the backup, the new file takes its place, and whatever was set aside is deleted last.
// When a step fails, every rename done so far is undone and the temporary files are removed,
// so the folders are as they were before. Destroying an uncommitted replacement removes its
// temporary files and changes nothing else.
class FileReplacement {
 public:
  FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // Starts the new content of `target`, whose current version will become `backup` (or, with
  // an empty backup name, will be deleted). The writer stays valid until Commit() or the end of
  // the replacement.
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
  Status StageResolvedOutput(const std::string& resolvedTarget, const ContentWriter& write,
                             Durability durability = Durability::Unsynced);

  // Puts every staged file in place as described above. A failure's reason names the file
  // ("Cannot rename /x/SHP.PFP to /x/SHP_OLD.PFP: Permission denied").
  Status Commit();

  std::size_t StagedCount() const { return entries_.size(); }

 private:
  struct Entry;
  Result<SafeFileWriter*> Add(Result<SafeFileWriter> writer, const std::string& backup);
  // Writes and closes the entry just added; removes it again when that fails.
  Status Close(const ContentWriter& write);
  Status Rename(const std::string& from, const std::string& to);
  void Undo();
  std::vector<std::unique_ptr<Entry>> entries_;
  // Renames done by Commit(), from and to, to be undone in reverse order on failure.
  std::vector<std::pair<std::string, std::string>> renames_;
};

}  // namespace zorvane::platform
