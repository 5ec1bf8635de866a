#include "cli/insert_command.h"

#include <algorithm>

#include "app/insert_menu.h"
#include "platform/paths.h"

namespace zorvane::cli {

bool InsertArgumentsValid(const std::vector<std::string>& args) {
  // An empty name would read as a cancelled dialog.
  return !args.empty() &&
         std::none_of(args.begin(), args.end(), [](const std::string& arg) { return arg.empty(); });
}

int RunInsert(CommandContext& context, const std::vector<std::string>& args) {
  bool allInserted = true;
  for (const std::string& file : args) {
    context.Ui.QueueFileChoice(platform::AbsolutePath(file));
    app::OnInsertShpFileMenu(context.Session);
    allInserted =
        allInserted && context.Session.LastInsertion == archive::InsertionOutcome::Inserted;
  }
  return allInserted ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
