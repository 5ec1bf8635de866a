#include "cli/sets_command.h"

namespace zorvane::cli {

const std::map<std::string, int>& DestinationChoices() {
  static const std::map<std::string, int> choices{{"icons", 5}, {"tiles", 6}};
  return choices;
}

bool SetsArgumentsValid(const std::vector<std::string>& args) {
  return args.size() == 1 && DestinationChoices().contains(args[0]);
}

int RunSets(CommandContext& context, const std::vector<std::string>& args) {
  const bool listed = app::ClickOption(context.Session, DestinationChoices().at(args[0]));
  if (listed) PrintList(context.Session, context.Out);
  return listed ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
