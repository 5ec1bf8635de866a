#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

namespace zorvane::platform {

// The Ui of a worker while it holds a folder's lock: messages wait until the object goes, so
// that a message box the user leaves open never keeps the folder locked. Declared before the
// lock, it goes after it. Dialogs and questions show the waiting messages first.
class MessagesAfterUnlock : public Ui {
 public:
  explicit MessagesAfterUnlock(Ui& shown) : shown_(shown) {}
  MessagesAfterUnlock(const MessagesAfterUnlock&) = delete;
  MessagesAfterUnlock& operator=(const MessagesAfterUnlock&) = delete;
  ~MessagesAfterUnlock() override { ShowWaiting(); }

  void ShowMessage(const std::string& text) override { waiting_.push_back(text); }
  Answer AskOkCancel(const std::string& text) override {
    ShowWaiting();
    return shown_.AskOkCancel(text);
  }
  std::string ChooseFileToOpen(const OpenFileRequest& request) override {
    ShowWaiting();
    return shown_.ChooseFileToOpen(request);
  }
  void SetBusy(bool busy) override { shown_.SetBusy(busy); }
  Progress& WorkProgress() override { return shown_.WorkProgress(); }

 private:
  void ShowWaiting() {
    for (const std::string& text : waiting_) shown_.ShowMessage(text);
    waiting_.clear();
  }
  Ui& shown_;
  std::vector<std::string> waiting_;
};

}  // namespace zorvane::platform
