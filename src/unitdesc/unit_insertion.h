#pragma once

#include <functional>
#include <string>

#include "platform/ui.h"
#include "unitdesc/unit_extracts.h"

namespace zorvane::unitdesc {

// Backup names of the three files the insertion rewrites, in the DATA folder.
inline constexpr char kOldTextArchiveName[] = "OLD_TXT.PFP";
inline constexpr char kOldMemberIndexName[] = "OLD_PFPDATA.IDX";
inline constexpr char kOldArchiveIndexName[] = "OLD_EXT.IDX";

// Asks for the extracts (LoadUnitExtracts) and puts them into the installation in
// `dataFolder`: TXT.PFP keeps its members before member "0" and gets the extract's text in
// place of its unit descriptions; PFPDATA.IDX (header 0) and EXT.IDX are rebuilt to match. The
// three previous files become OLD_TXT.PFP, OLD_PFPDATA.IDX and OLD_EXT.IDX, replacing earlier
// backups. Every check runs before a file is touched; the new files are written whole and
// flushed before the first rename, and a failure part-way puts everything back. After a
// successful insertion `afterInsertion` runs (the caller reloads the index), then the success
// message is shown. Returns whether the descriptions were inserted.
bool InsertUnitDescriptions(const std::string& dataFolder, UnitExtracts& extracts, platform::Ui& ui,
                            const std::function<void()>& afterInsertion);

}  // namespace zorvane::unitdesc
