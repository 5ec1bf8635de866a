#include "cli/repack_command.h"

#include <optional>

#include "app/extraction_events.h"
#include "app/repack_events.h"
#include "cli/cli.h"
#include "cli/row_clicks.h"
#include "cli/sets_command.h"
#include "graphics/bmp_set_listing.h"
#include "platform/number_text.h"

namespace zorvane::cli {

namespace {

// The row of the set of that name, compared in upper case as the list shows it.
std::optional<int> RowOfSet(const app::Session& session, const std::string& name) {
  const std::string wanted = platform::UpperCase(name);
  const auto& rows = session.Window.List1;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (graphics::SetNameOfRow(rows[row]) == wanted) return static_cast<int>(row);
  }
  return std::nullopt;
}

}  // namespace

bool RepackArgumentsValid(const std::vector<std::string>& args) {
  return ChoiceWithNamesOrAllValid(args, DestinationChoices());
}

int RunRepack(CommandContext& context, const std::vector<std::string>& args) {
  app::Session& session = context.Session;
  app::CheckPalettes(session);
  if (!app::ClickOption(session, DestinationChoices().at(args[0]))) return kExitRefused;

  std::string unknown;
  const auto rows = RowsNamed(
      session, args, [&session](const std::string& name) { return RowOfSet(session, name); },
      unknown);
  if (!rows) {
    context.Out << "There is no BMP set named " << unknown << " in " << session.Window.File1.Path
                << ". Nothing has been converted.\n";
    return kExitRefused;
  }
  if (rows->empty()) return kExitCompleted;
  session.Window.ListIndex = rows->back();
  app::RepackRows(session, *rows);
  if (session.Repack.Stopped) return kExitStopped;
  return session.Repack.Completed ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
