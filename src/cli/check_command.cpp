#include "cli/check_command.h"

#include "archive/installation_check.h"

namespace zorvane::cli {

bool CheckArgumentsValid(const std::vector<std::string>& args) {
  return args.empty();
}

int RunCheck(CommandContext& context, const std::vector<std::string>& /*args*/) {
  const std::vector<std::string> problems = archive::CheckInstallation(context.Session.DataFolder);
  for (const std::string& problem : problems) context.Out << problem << '\n';
  if (!problems.empty()) return kExitRefused;
  context.Out << archive::NoProblemsMessage(context.Session.DataFolder) << '\n';
  return kExitCompleted;
}

}  // namespace zorvane::cli
