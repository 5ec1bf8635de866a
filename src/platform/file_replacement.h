#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::platform {

// Replaces one or more files of the game together, each keeping its previous version under a
// backup name (one generation). The new contents are written whole under temporary names and
// flushed first; only then are files renamed: an older backup is set aside, the current file
// becomes the backup, the new file takes its place, and the set-aside backup is deleted last.
// When a step fails, every rename done so far is undone and the temporary files are removed, so
// the folder is as it was before. Destroying an uncommitted replacement removes its temporary
// files and changes nothing else.
class FileReplacement {
 public:
  FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();

  // Starts the new content of `target`, whose current version will become `backup`. The
  // writer stays valid until Commit() or the end of the replacement.
  Result<SafeFileWriter*> Stage(const std::string& target, const std::string& backup);

  // Puts every staged file in place as described above. A failure's reason names the file
  // ("Cannot rename /x/SHP.PFP to /x/SHP_OLD.PFP: Permission denied").
  Status Commit();

 private:
  struct Entry;
  void Undo();
  std::vector<std::unique_ptr<Entry>> entries_;
  // Renames done by Commit(), from and to, to be undone in reverse order on failure.
  std::vector<std::pair<std::string, std::string>> renames_;
};

}  // namespace zorvane::platform
