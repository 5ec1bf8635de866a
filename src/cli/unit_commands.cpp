#include "cli/unit_commands.h"

#include "app/unit_description_menu.h"
#include "platform/paths.h"
#include "unitdesc/unit_index_file.h"

namespace zorvane::cli {

bool ExtractUnitsArgumentsValid(const std::vector<std::string>& args) {
  return args.empty();
}

int RunExtractUnits(CommandContext& context, const std::vector<std::string>&) {
  return app::OnExtractUnitDescriptionsMenu(context.Session) ? kExitCompleted : kExitRefused;
}

bool InsertUnitsArgumentsValid(const std::vector<std::string>& args) {
  return args.size() == 1 && !args[0].empty();
}

int RunInsertUnits(CommandContext& context, const std::vector<std::string>& args) {
  context.Ui.QueueFileChoice(platform::WithTrailingSeparator(args[0]) +
                             unitdesc::kUnitTextFileName);
  return app::OnInsertUnitDescriptionsMenu(context.Session) ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
