#pragma once

#include <ostream>

#include "cli/terminal_progress.h"
#include "platform/scripted_ui.h"

namespace zorvane::cli {

// The command line's Ui: prints every message and question as it comes, CR LF as line breaks,
// and answers questions and file dialogs from the queues its command filled.
class PrintingUi : public platform::ScriptedUi {
 public:
  explicit PrintingUi(std::ostream& out) : out_(out) {}

  void ShowMessage(const std::string& text) override;
  platform::Answer AskOkCancel(const std::string& text) override;
  std::string ChooseFileToOpen(const platform::OpenFileRequest& request) override;
  platform::Progress& WorkProgress() override;

  // The progress line of long work, wiped before each message.
  void SetProgress(TerminalProgress* progress) { progress_ = progress; }

 private:
  void WipeProgress() {
    if (progress_ != nullptr) progress_->Wipe();
  }
  std::ostream& out_;
  TerminalProgress* progress_ = nullptr;
};

// The text with each CR LF (or lone CR) turned into a line break.
std::string WithLineBreaks(const std::string& text);

}  // namespace zorvane::cli
