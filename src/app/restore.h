#pragma once

#include <string>
#include <vector>

#include "app/session.h"
#include "platform/result.h"

// Insert > Restore previous version and `zorvane-cli restore`: the backups of the last
// insertion put back.
namespace zorvane::app {

// A file of the installation and the backup that takes its place.
struct RestoredFile {
  std::string Name;    // PFPDATA.IDX, SHP.PFP, ...
  std::string Backup;  // PFPDATA_OLD.IDX, SHP_OLD.PFP, ...
};

// The backups of the last change of the DATA folder (ending in the separator), when they
// belong together: of an insertion of a sprite file, PFPDATA_OLD.IDX with the B_OLD.PFP that
// the check of the installation passes with (the newest such); of an insertion of unit
// descriptions, OLD_TXT.PFP, OLD_PFPDATA.IDX and OLD_EXT.IDX. The last change is the one whose
// index backup was made last. A failure's reason is the whole message.
platform::Result<std::vector<RestoredFile>> LastChangeBackups(const std::string& dataFolder);

// Puts the backups of the last change back through one transaction under the folder's lock,
// after the checks: each file gets its backup's bytes, and the version it had becomes the
// backup, so that restoring again puts it back. Says what it did, or why it did nothing.
// Returns whether it restored.
bool RestorePreviousVersion(const std::string& dataFolder, platform::Ui& ui);

// The menu entry: restores, then reloads EXT.IDX and the list.
void OnRestoreMenu(Session& session);

}  // namespace zorvane::app
