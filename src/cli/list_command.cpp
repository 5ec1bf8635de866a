#include "cli/list_command.h"

#include <map>

namespace zorvane::cli {

namespace {

const std::map<std::string, int>& ListChoices() {
  static const std::map<std::string, int> choices{{"all", 1}, {"shp", 2}, {"til", 3}, {"pal", 4}};
  return choices;
}

}  // namespace

bool ListArgumentsValid(const std::vector<std::string>& args) {
  return args.empty() || (args.size() == 1 && ListChoices().contains(args[0]));
}

int RunList(CommandContext& context, const std::vector<std::string>& args) {
  const int option = args.empty() ? 1 : ListChoices().at(args[0]);
  bool listed = true;
  if (option != 1) listed = app::ClickOption(context.Session, option);
  PrintList(context.Session, context.Out);
  return listed ? kExitCompleted : kExitRefused;
}

}  // namespace zorvane::cli
