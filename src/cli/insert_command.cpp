#include "cli/insert_command.h"

#include <algorithm>
#include <filesystem>

#include "app/insert_menu.h"

namespace zorvane::cli {

namespace {

// The dialog answers with a full path, and the messages show it: a relative argument is taken
// from the current folder.
std::string FullPath(const std::string& file) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(file, error);
  return error ? file : full.string();
}

}  // namespace

bool InsertArgumentsValid(const std::vector<std::string>& args) {
  // An empty name would read as a cancelled dialog.
  return !args.empty() &&
         std::none_of(args.begin(), args.end(), [](const std::string& arg) { return arg.empty(); });
}

int RunInsert(CommandContext& context, const std::vector<std::string>& args) {
  bool allInserted = true;
  for (const std::string& file : args) {
    context.Ui.QueueFileChoice(FullPath(file));
    app::OnInsertShpFileMenu(context.Session);
    allInserted =
        allInserted && context.Session.LastInsertion == archive::InsertionOutcome::Inserted;
  }
  return allInserted ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
