#include "cli/restore_command.h"

#include "app/restore.h"

namespace zorvane::cli {

bool RestoreArgumentsValid(const std::vector<std::string>& args) {
  return args.empty();
}

int RunRestore(CommandContext& context, const std::vector<std::string>& /*args*/) {
  return app::RestorePreviousVersion(context.Session.DataFolder, context.Ui) ? kExitCompleted
                                                                             : kExitRefused;
}

}  // namespace zorvane::cli
