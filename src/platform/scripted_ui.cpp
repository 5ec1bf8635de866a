#include "platform/scripted_ui.h"

namespace zorvane::platform {

void ScriptedUi::ShowMessage(const std::string& text) {
  events_.push_back({Event::Kind::Message, text});
}

Answer ScriptedUi::AskOkCancel(const std::string& text) {
  events_.push_back({Event::Kind::Question, text});
  if (answers_.empty()) return Answer::Cancel;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string ScriptedUi::ChooseFileToOpen(const OpenFileRequest& request) {
  events_.push_back({Event::Kind::FileDialog, request.Title});
  fileRequests_.push_back(request);
  if (fileChoices_.empty()) return request.InitialName;
  std::string choice = std::move(fileChoices_.front());
  fileChoices_.pop_front();
  return choice;
}

void ScriptedUi::SetBusy(bool busy) {
  busy_ = busy;
  events_.push_back({busy ? Event::Kind::Busy : Event::Kind::NotBusy, {}});
}

std::vector<std::string> ScriptedUi::Messages() const {
  std::vector<std::string> texts;
  for (const auto& event : events_) {
    if (event.Kind == Event::Kind::Message) texts.push_back(event.Text);
  }
  return texts;
}

std::vector<std::string> ScriptedUi::Questions() const {
  std::vector<std::string> texts;
  for (const auto& event : events_) {
    if (event.Kind == Event::Kind::Question) texts.push_back(event.Text);
  }
  return texts;
}

void ScriptedUi::Clear() {
  events_.clear();
  fileRequests_.clear();
  answers_.clear();
  fileChoices_.clear();
}

}  // namespace zorvane::platform
