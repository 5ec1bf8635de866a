#include "cli/printing_ui.h"

#include "platform/text_lines.h"

namespace zorvane::cli {

std::string WithLineBreaks(const std::string& text) {
  platform::TextLineReader lines(text);
  std::string result;
  while (!lines.AtEnd()) {
    result += lines.Next();
    result += '\n';
  }
  if (result.empty()) result.push_back('\n');
  return result;
}

void PrintingUi::ShowMessage(const std::string& text) {
  WipeProgress();
  ScriptedUi::ShowMessage(text);
  out_ << WithLineBreaks(text) << std::flush;
}

platform::Answer PrintingUi::AskOkCancel(const std::string& text) {
  WipeProgress();
  const platform::Answer answer = ScriptedUi::AskOkCancel(text);
  out_ << WithLineBreaks(text)
       << (answer == platform::Answer::Ok ? "[OK/Cancel] OK\n" : "[OK/Cancel] Cancel\n")
       << std::flush;
  return answer;
}

std::string PrintingUi::ChooseFileToOpen(const platform::OpenFileRequest& request) {
  WipeProgress();
  std::string chosen = ScriptedUi::ChooseFileToOpen(request);
  out_ << request.Title << " [" << (chosen == request.InitialName ? "cancelled" : chosen) << "]\n"
       << std::flush;
  return chosen;
}

platform::Progress& PrintingUi::WorkProgress() {
  return progress_ != nullptr ? *progress_ : ScriptedUi::WorkProgress();
}

}  // namespace zorvane::cli
