#pragma once

#include <cstdint>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace zorvane::platform {

// A Ui for tests and batch runs: records every message, question and dialog, and answers
// questions and file dialogs from queues. An empty question queue answers Cancel; an empty
// file queue answers as a cancelled dialog does (the initial name).
class ScriptedUi : public Ui {
 public:
  struct Event {
    enum class Kind { Message, Question, FileDialog, Busy, NotBusy } Kind;
    std::string Text;  // the message or question; the dialog's title
    bool operator==(const Event&) const = default;
  };

  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueueFileChoice(std::string path) { fileChoices_.push_back(std::move(path)); }

  void ShowMessage(const std::string& text) override;
  Answer AskOkCancel(const std::string& text) override;
  std::string ChooseFileToOpen(const OpenFileRequest& request) override;
  void SetBusy(bool busy) override;
  Progress& WorkProgress() override { return progress_; }

  // Asks a long worker to stop once it has reported `reports` more steps done.
  void StopAfterReports(std::uint64_t reports) {
    progress_.StopAfter = progress_.Reports + reports;
  }
  // How many steps long workers have reported done.
  std::uint64_t ReportCount() const { return progress_.Reports; }

  const std::vector<Event>& Events() const { return events_; }
  // The texts of the messages with OK only, in order.
  std::vector<std::string> Messages() const;
  std::vector<std::string> Questions() const;
  const std::vector<OpenFileRequest>& FileRequests() const { return fileRequests_; }
  bool Busy() const { return busy_; }
  // Forgets what was recorded and every answer still queued.
  void Clear();

 private:
  struct CountingProgress : Progress {
    void Report(const std::string&, std::uint64_t, std::uint64_t) override { ++Reports; }
    bool StopRequested() override { return Reports >= StopAfter; }
    std::uint64_t Reports = 0;
    std::uint64_t StopAfter = std::numeric_limits<std::uint64_t>::max();
  };
  CountingProgress progress_;
  std::deque<Answer> answers_;
  std::deque<std::string> fileChoices_;
  std::vector<Event> events_;
  std::vector<OpenFileRequest> fileRequests_;
  bool busy_ = false;
};

}  // namespace zorvane::platform
