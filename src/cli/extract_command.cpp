#include "cli/extract_command.h"

#include <map>
#include <optional>

#include "app/extraction_events.h"
#include "archive/archive_choice.h"
#include "cli/row_clicks.h"

namespace zorvane::cli {

namespace {

constexpr char kAll[] = "--all";

const std::map<std::string, int>& ExtractChoices() {
  static const std::map<std::string, int> choices{{"shp", 2}, {"til", 3}, {"pal", 4}};
  return choices;
}

// The first row of the list whose member has this name (NULs removed, spaces trimmed,
// compared case-sensitively like every member name).
std::optional<int> RowOfMember(app::Session& session, archive::ArchiveChoice choice,
                               const std::string& name) {
  const auto& table = archive::TableFor(session.Index, choice);
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (archive::ComparableName(table[row].Name) == name) return static_cast<int>(row);
  }
  return std::nullopt;
}

}  // namespace

bool ExtractArgumentsValid(const std::vector<std::string>& args) {
  if (args.size() < 2 || !ExtractChoices().contains(args[0])) return false;
  if (args.size() == 2 && args[1] == kAll) return true;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == kAll) return false;
  }
  return true;
}

int RunExtract(CommandContext& context, const std::vector<std::string>& args) {
  app::Session& session = context.Session;
  app::CheckPalettes(session);
  if (!app::ClickOption(session, ExtractChoices().at(args[0]))) return kExitRefused;
  const archive::ArchiveChoice choice = app::SelectedArchiveChoice(session);

  std::vector<int> rows;
  if (args[1] == kAll) {
    rows = AllRows(session);
  } else {
    for (std::size_t i = 1; i < args.size(); ++i) {
      const auto row = RowOfMember(session, choice, args[i]);
      if (!row) {
        context.Out << archive::TextsFor(choice).BaseName << ".PFP has no member named " << args[i]
                    << ". Nothing has been extracted.\n";
        return kExitRefused;
      }
      rows.push_back(*row);
    }
  }
  const bool allCompleted =
      DoubleClickEachRow(session, rows, [&session] { return session.Extraction.Completed; });
  return allCompleted ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
