#include "cli/row_clicks.h"

#include "archive/index_record.h"

namespace zorvane::cli {

bool ChoiceWithNamesOrAllValid(const std::vector<std::string>& args,
                               const std::map<std::string, int>& choices) {
  if (args.size() < 2 || !choices.contains(args[0])) return false;
  if (args.size() == 2 && args[1] == kAllRows) return true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == kAllRows || args[i].empty()) return false;
  }
  return true;
}

std::optional<std::vector<int>> RowsNamed(const app::Session& session,
                                          const std::vector<std::string>& args,
                                          const RowOfName& rowOf, std::string& unknown) {
  std::vector<int> rows;
  if (args[1] == kAllRows) {
    for (int row = 0; row < static_cast<int>(session.Window.List1.size()); ++row) {
      rows.push_back(row);
    }
    return rows;
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    const auto row = rowOf(args[i]);
    if (!row) {
      unknown = args[i];
      return std::nullopt;
    }
    rows.push_back(*row);
  }
  return rows;
}

std::optional<int> RowOfMember(app::Session& session, archive::ArchiveChoice choice,
                               const std::string& name) {
  const auto& table = archive::TableFor(session.Index, choice);
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (archive::ComparableName(table[row].Name) == name) return static_cast<int>(row);
  }
  return std::nullopt;
}

}  // namespace zorvane::cli
