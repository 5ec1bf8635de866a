#include "process_measurement.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace zorvane::bench {

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Waits for the child and fills in what the kernel kept about it.
Measurement Reap(pid_t child, Clock::time_point start, int& status) {
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child) Fail("wait4 failed");
  Measurement measurement;
  measurement.WallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  measurement.CpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  measurement.PeakKiB = usage.ru_maxrss;
  return measurement;
}

bool Succeeded(int status) {
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

void Fail(const std::string& what) {
  std::cerr << "bench: " << what << '\n';
  std::exit(1);
}

void SettleDisk() {
  ::sync();
}

Measurement RunProgram(const std::vector<std::string>& argv, const std::string& logPath) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  std::fflush(nullptr);  // nothing buffered may be written twice
  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log < 0 || ::dup2(log, STDOUT_FILENO) < 0 || ::dup2(log, STDERR_FILENO) < 0) _exit(126);
    ::execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  Measurement measurement = Reap(child, start, status);
  if (!Succeeded(status)) {
    std::ifstream log(logPath);
    std::stringstream text;
    text << log.rdbuf();
    std::string command;
    for (const std::string& arg : argv) command += arg + ' ';
    Fail("failed (status " + std::to_string(status) + "): " + command + "\n" + text.str());
  }
  return measurement;
}

Measurement RunInChild(const std::function<std::vector<double>()>& work) {
  int pipe[2];
  if (::pipe(pipe) != 0) Fail("pipe failed");
  std::fflush(nullptr);
  std::cout.flush();
  const auto start = Clock::now();
  const pid_t child = ::fork();
  if (child < 0) Fail("fork failed");
  if (child == 0) {
    ::close(pipe[0]);
    std::string text;
    for (double value : work()) text += std::to_string(value) + '\n';
    const bool written =
        ::write(pipe[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    _exit(written ? 0 : 1);
  }
  ::close(pipe[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  ::close(pipe[0]);
  int status = 0;
  Measurement measurement = Reap(child, start, status);
  if (!Succeeded(status)) Fail("a measured piece of work failed");
  std::istringstream in(text);
  for (double value; in >> value;) measurement.Reported.push_back(value);
  return measurement;
}

long OwnResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  }
  return 0;
}

}  // namespace zorvane::bench
