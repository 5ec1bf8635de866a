#pragma once

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

// What the check says when it found nothing wrong.
std::string NoProblemsMessage(const std::string& dataFolder);

}  // namespace zorvane::archive
