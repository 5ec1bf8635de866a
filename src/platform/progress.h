#pragma once

#include <cstdint>
#include <string>

namespace zorvane::platform {

// What a worker that may run long says about its work, and how it learns that the user wants
// it stopped. The worker calls both from the one thread it was started on, after each step;
// a worker that stops undoes what it did through its transaction.
class Progress {
 public:
  virtual ~Progress() = default;
  // `done` of the `total` steps of the work `what` ("Extracting T_FRM_DD") are done.
  virtual void Report(const std::string& what, std::uint64_t done, std::uint64_t total) = 0;
  // Whether the user asked to stop the work.
  virtual bool StopRequested() = 0;
};

// The progress of work nobody watches: it never stops.
class NoProgress : public Progress {
 public:
  void Report(const std::string&, std::uint64_t, std::uint64_t) override {}
  bool StopRequested() override { return false; }
};

// The message after a worker stopped at the user's request and undid its work.
inline constexpr char kStoppedMessage[] = "Stopped as you asked. Nothing has been changed.";

}  // namespace zorvane::platform
