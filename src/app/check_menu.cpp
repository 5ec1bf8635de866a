#include "app/check_menu.h"

#include "archive/installation_check.h"
#include "platform/text_lines.h"

namespace zorvane::app {

void OnCheckInstallation(Session& session) {
  std::vector<std::string> problems;
  {
    platform::BusyPointer busy(session.Ui);
    problems = archive::CheckInstallation(session.DataFolder);
  }
  if (problems.empty()) {
    session.Ui.ShowMessage(archive::NoProblemsMessage(session.DataFolder));
    return;
  }
  if (problems.size() > kProblemLinesShown) {
    problems.resize(kProblemLinesShown);
    problems.push_back("...");
  }
  session.Ui.ShowMessage(platform::JoinLines(problems));
}

}  // namespace zorvane::app
