#pragma once

// Ctrl+C on the command line: while a command that can stop runs, the first one asks it to stop
// (it then undoes its work); a second one, or one at any other time, ends the program as usual.
namespace zorvane::cli {

// Sets up the handling of Ctrl+C (SIGINT) for the process.
void HandleInterrupts();

// What Ctrl+C does while a command watches: the command stops at its next step.
void RequestStop();
bool StopRequested();

// Marks, for as long as it lives, that the running command stops when asked; forgets an
// earlier request when it goes.
class StopWatch {
 public:
  StopWatch();
  ~StopWatch();
  StopWatch(const StopWatch&) = delete;
  StopWatch& operator=(const StopWatch&) = delete;
};

}  // namespace zorvane::cli
