#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "platform/progress.h"

namespace zorvane::cli {

// "Extracting T_FRM_DD: 1200 of 2000, 3000/s, 0:01 left": the work, how far it is after
// `seconds`, its rate and the time left at that rate.
std::string ProgressLine(const std::string& what, std::uint64_t done, std::uint64_t total,
                         double seconds);

// The progress of a command on a terminal: once the work has run half a second, one line on
// `out`, drawn again in place at most ten times a second, and wiped before anything else is
// printed and at the end. Stops the work when Ctrl+C asked to (see StopWatch).
class TerminalProgress : public platform::Progress {
 public:
  using Clock = std::chrono::steady_clock;
  // Draws nothing when `draw` is false (standard error is no terminal, or --quiet). The time
  // counts from `started`.
  TerminalProgress(std::ostream& out, bool draw, Clock::time_point started = Clock::now());
  ~TerminalProgress() override { Wipe(); }
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  void Report(const std::string& what, std::uint64_t done, std::uint64_t total) override;
  bool StopRequested() override;
  // Takes the line away, if one is shown.
  void Wipe();

 private:
  std::ostream& out_;
  bool draw_;
  Clock::time_point started_;
  Clock::time_point drawn_{};
  std::size_t shownLength_ = 0;
};

}  // namespace zorvane::cli
