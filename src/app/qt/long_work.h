#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "platform/progress.h"

class QProgressDialog;
class QWidget;

namespace zorvane::qt {

// The progress of work on another thread, read by the window's thread: what the work last
// reported, and the user's wish to stop.
class SharedProgress : public platform::Progress {
 public:
  struct Reading {
    std::string What;
    std::uint64_t Done = 0;
    std::uint64_t Total = 0;
  };
  void Report(const std::string& what, std::uint64_t done, std::uint64_t total) override;
  bool StopRequested() override { return stop_.load(); }

  Reading Read() const;
  void RequestStop() { stop_.store(true); }
  // Forgets the last report and any wish to stop, before the next work.
  void Reset();

 private:
  mutable std::mutex mutex_;
  Reading last_;
  std::atomic<bool> stop_{false};
};

// How long work runs before its progress dialog comes up.
inline constexpr int kProgressDialogDelayMs = 500;

// Runs `work` on a thread of its own while this (the window's) thread goes on painting: for the
// first half second without taking the user's input, then with a modal progress dialog over
// `parent` that shows what `progress` reports (what is done, done of total) and whose Cancel
// asks the work to stop. `dialog` points to the dialog while it is up, so that a message box
// can take its place. Returns once the work has ended; an exception of the work comes out here.
void RunOffWindowThread(const std::function<void()>& work, SharedProgress& progress,
                        QWidget* parent, QProgressDialog*& dialog);

// Runs `call` on the window's thread and waits for it; at once when this is that thread.
void OnWindowThread(const std::function<void()>& call);

}  // namespace zorvane::qt
