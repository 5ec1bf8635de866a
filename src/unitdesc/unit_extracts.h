#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "unitdesc/unit_index_file.h"

namespace zorvane::unitdesc {

inline constexpr char kExtractDialogTitle[] =
    "Show me Folder where you have placed the Extracts of the unitdescriptions";
inline constexpr char kExtractDialogFilter[] = "PacGen Extractfiles (*.KRT)|*.KRT";

// The extracts chosen for an insertion; they stay after the command, and the next insertion
// asks for the folder again.
struct UnitExtracts {
  std::string ExtractFolder;  // ends in the separator
  std::vector<UnitRecord> UnitRecords;
  // Cleared when loading starts, set only when it ends successfully.
  bool Loaded = false;
};

// The folder of the path the dialog returned: the part up to and including its last
// separator, trimmed of spaces, ending in the separator. A path without separator (a cancelled
// dialog gives back its initial file name) gives the root folder.
std::string ExtractFolderOf(std::string_view chosenPath);

// Asks for the folder of the extracts and loads its UnitIDX.KRT. A folder without both extract
// files, an unreadable file, or a UnitIDX.KRT that ParseUnitIndex refuses gets its message and
// leaves the extracts not loaded. Returns Loaded.
bool LoadUnitExtracts(UnitExtracts& extracts, platform::Ui& ui);

}  // namespace zorvane::unitdesc
