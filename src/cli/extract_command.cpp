#include "cli/extract_command.h"

#include <map>
#include <optional>

#include "app/extraction_events.h"
#include "archive/archive_choice.h"
#include "cli/row_clicks.h"

namespace zorvane::cli {

namespace {

const std::map<std::string, int>& ExtractChoices() {
  static const std::map<std::string, int> choices{{"shp", 2}, {"til", 3}, {"pal", 4}};
  return choices;
}

}  // namespace

bool ExtractArgumentsValid(const std::vector<std::string>& args) {
  return ChoiceWithNamesOrAllValid(args, ExtractChoices());
}

int RunExtract(CommandContext& context, const std::vector<std::string>& args) {
  app::Session& session = context.Session;
  app::CheckPalettes(session);
  if (!app::ClickOption(session, ExtractChoices().at(args[0]))) return kExitRefused;
  const archive::ArchiveChoice choice = app::SelectedArchiveChoice(session);

  std::string unknown;
  const auto rows = RowsNamed(
      session, args,
      [&session, choice](const std::string& name) { return RowOfMember(session, choice, name); },
      unknown);
  if (!rows) {
    context.Out << archive::TextsFor(choice).BaseName << ".PFP has no member named " << unknown
                << ". Nothing has been extracted.\n";
    return kExitRefused;
  }
  const bool allCompleted =
      DoubleClickEachRow(session, *rows, [&session] { return session.Extraction.Completed; });
  return allCompleted ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
