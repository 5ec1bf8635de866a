#pragma once

#include <string>

#include "archive/index_tables.h"
#include "platform/ui.h"

namespace zorvane::archive {

enum class InsertionOutcome {
  Inserted,   // the archive and PFPDATA.IDX were replaced; the previous files are the backups
  Cancelled,  // the user cancelled the file dialog; nothing was said or changed
  Refused,    // a message said why; no file was changed
};

// Insert SHP file: reloads EXT.IDX and PFPDATA.IDX into the tables, asks for a file and puts
// its whole content in place of the member whose name is the file's upper-case base name, in
// whichever archive holds it. The later members of that archive move by the change in size and
// PFPDATA.IDX is rewritten to match; the previous archive and index stay beside them as
// B_OLD.PFP and PFPDATA_OLD.IDX. Every check runs before the first file is touched, and a
// failure while writing leaves every file as it was. The member list is not refreshed. The
// dialog shows `suggestedName` chosen at first, when one is given.
InsertionOutcome InsertShpFile(const std::string& dataFolder, IndexTables& tables, platform::Ui& ui,
                               const std::string& suggestedName = {});

}  // namespace zorvane::archive
