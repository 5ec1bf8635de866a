#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/session.h"
#include "archive/archive_choice.h"

namespace zorvane::cli {

inline constexpr char kAllRows[] = "--all";

// Whether `args` is one of `choices` followed by "--all" alone or by one or more names, none
// of them empty.
bool ChoiceWithNamesOrAllValid(const std::vector<std::string>& args,
                               const std::map<std::string, int>& choices);

// The rows that args[1], args[2], ... name: every row of the list for "--all", otherwise the
// row `rowOf` finds for each name. When a name has none: nothing, and `unknown` is that name.
using RowOfName = std::function<std::optional<int>(const std::string& name)>;
std::optional<std::vector<int>> RowsNamed(const app::Session& session,
                                          const std::vector<std::string>& args,
                                          const RowOfName& rowOf, std::string& unknown);

// The first row of the archive's list whose member has this name (NULs removed, spaces
// trimmed, compared case-sensitively like every member name).
std::optional<int> RowOfMember(app::Session& session, archive::ArchiveChoice choice,
                               const std::string& name);

}  // namespace zorvane::cli
