#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace zorvane::platform {

// The messages of a change of many files, held until the change is made or not, each part's
// closing message (a summary) in its place: the summaries are shown only when the files were
// put in place. Questions, dialogs, the busy pointer and the progress go straight through.
class HeldMessages : public ForwardingUi {
 public:
  explicit HeldMessages(Ui& shown) : ForwardingUi(shown) {}

  void ShowMessage(const std::string& text) override { held_.push_back({text, false}); }
  void AddSummary(std::string text) { held_.push_back({std::move(text), true}); }

  // Shows the messages held, the summaries among them when `made`, and forgets them.
  void Show(bool made) {
    for (const auto& [text, summary] : held_) {
      if (made || !summary) Shown().ShowMessage(text);
    }
    held_.clear();
  }
  void Forget() { held_.clear(); }

 private:
  std::vector<std::pair<std::string, bool>> held_;
};

}  // namespace zorvane::platform
