#pragma once

#include <map>
#include <string>
#include <vector>

// Setup -> Check installation and `zorvane-cli check`: everything that would make a worker
// refuse, or read the wrong bytes, found in one pass over a DATA folder without changing it.
namespace zorvane::archive {

// The most problem lines shown for one file; the rest are counted in one more line.
inline constexpr int kProblemsShownPerFile = 30;

// Checks the DATA folder `dataFolder` (ending in the separator): both index files readable and
// of whole records, the two describing the same archives, every archive present, its members
// back to back from byte 0 to its last byte, and no unfinished change. Returns one line per
// problem, naming the file, the member and what is wrong; none when there is nothing wrong.
// Reads each index file once and looks at each archive's length only.
std::vector<std::string> CheckInstallation(const std::string& dataFolder);

// The same check of the installation as it would be with some of its files replaced by others
// of the folder: `instead` maps the upper-case name of a file (PFPDATA.IDX, EXT.IDX, SHP.PFP,
// ...) to the name of the file read in its place. Takes no lock: the caller holds one.
using FilesInstead = std::map<std::string, std::string>;
std::vector<std::string> CheckInstallationWith(const std::string& dataFolder,
                                               const FilesInstead& instead);

// What the check says when it found nothing wrong.
std::string NoProblemsMessage(const std::string& dataFolder);

}  // namespace zorvane::archive
