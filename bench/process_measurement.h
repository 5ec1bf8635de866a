#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs one piece of work in a process of its own and measures it as the kernel saw it: wall
// time, CPU time (user + system) and peak resident memory (ru_maxrss of the child, through
// wait4). A forked child starts with the resident pages of its parent, so the measuring
// program keeps itself small; its own size is reported beside the figures.
namespace zorvane::bench {

struct Measurement {
  double WallSeconds = 0;
  double CpuSeconds = 0;
  long PeakKiB = 0;
  // Numbers the work reported about itself (RunInChild), in the order it reported them.
  std::vector<double> Reported;
};

// Runs a program with its standard output and error going to `logPath`. Stops the benchmark
// with the log when the program does not exit 0.
Measurement RunProgram(const std::vector<std::string>& argv, const std::string& logPath);

// Runs `work` in a forked child. What it returns is handed back in Measurement::Reported.
// Stops the benchmark when the child fails.
Measurement RunInChild(const std::function<std::vector<double>()>& work);

// The resident size of this process now, in KiB.
long OwnResidentKiB();

[[noreturn]] void Fail(const std::string& what);

// Writes back to disk whatever earlier steps left in the page cache, so that a timed run does
// not pay for them.
void SettleDisk();

}  // namespace zorvane::bench
