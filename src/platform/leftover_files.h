#pragma once

#include <string>
#include <string_view>

#include "platform/safe_file.h"

namespace zorvane::platform {

// Deletes a file the program no longer needs; a failed delete is tried once more, so that a
// passing fault leaves no file behind. Whether it is gone.
bool RemoveFile(const std::string& resolved);

// Deletes the temporary files (TemporaryNameBeside) of `owner` in a folder. Only the holder of
// the lock that covers them may: then no other run is writing them.
void RemoveTemporaries(const std::string& resolvedFolder, TemporaryOwner owner);

// Whether a file name (without folder) is one that RemoveLeftOvers() deletes.
bool IsLeftOver(std::string_view fileName);

// In a folder whose lock this process has just taken: deletes the temporary files of runs that
// ended without finishing, and the hidden files earlier versions of the program set aside under
// names holding ".zorvane-" and the number of a process that no longer runs.
void RemoveLeftOvers(const std::string& resolvedFolder);

}  // namespace zorvane::platform
