#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvane::platform {

// Whether `name` matches a wildcard pattern ('*' any run of characters, '?' one character),
// without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

// The names of the files (not folders) in `folder` that match `pattern`, in ascending order of
// name compared without regard to case. A folder that does not exist lists nothing.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern);

}  // namespace zorvane::platform
