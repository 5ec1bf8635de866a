#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

namespace zorvane::platform {

// The Ui of a worker while it holds a folder's lock: messages wait until the object goes, so
// that a message box the user leaves open never keeps the folder locked. Declared before the
// lock, it goes after it. Dialogs and questions show the waiting messages first.
class MessagesAfterUnlock : public ForwardingUi {
 public:
  explicit MessagesAfterUnlock(Ui& shown) : ForwardingUi(shown) {}
  ~MessagesAfterUnlock() override { ShowWaiting(); }

  void ShowMessage(const std::string& text) override { waiting_.push_back(text); }
  Answer AskOkCancel(const std::string& text) override {
    ShowWaiting();
    return ForwardingUi::AskOkCancel(text);
  }
  std::string ChooseFileToOpen(const OpenFileRequest& request) override {
    ShowWaiting();
    return ForwardingUi::ChooseFileToOpen(request);
  }

 private:
  void ShowWaiting() {
    for (const std::string& text : waiting_) Shown().ShowMessage(text);
    waiting_.clear();
  }
  std::vector<std::string> waiting_;
};

}  // namespace zorvane::platform
