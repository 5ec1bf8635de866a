#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Work that a test runs in another program: a second program that holds a lock, a command that
// dies half way, two commands at once. The child is the test program started again, which
// shares nothing with the test (no lock, no open file) but the folders it is given; the work is
// registered by name and given text arguments, as Windows can start a program but not fork one.
namespace zorvane::testing {

// The child's exit code is what the work returns.
using ChildWork = std::function<int(const std::vector<std::string>& args)>;

// Registers `work` under `name`; returns true, for a static initializer.
bool RegisterChildWork(const std::string& name, ChildWork work);

class ChildProcess {
 public:
  // Starts a child that does the work named `name` with `args`.
  static ChildProcess Start(const std::string& name, const std::vector<std::string>& args);
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Waits for the child, unless it was waited for.
  ~ChildProcess();

  // Waits for the child to end; its exit code (-1 when it could not be started or was killed).
  int Wait();
  long Id() const { return id_; }

 private:
  ChildProcess(long id, std::intptr_t handle) : id_(id), handle_(handle) {}
  long id_ = -1;
  std::intptr_t handle_ = -1;
  std::optional<int> exitCode_;
};

// Starts the named work in a child and waits for it: its exit code.
int RunInChild(const std::string& name, const std::vector<std::string>& args);

// The number of this process.
long ThisProcess();

// For the main of a test program: in a child started for some work, does it and returns its
// exit code; nothing in the test program itself.
std::optional<int> RunChildWorkIfAsked(int argc, char** argv);

// Waits until the file exists (another process's signal), up to `seconds`; whether it does.
bool AwaitFile(const std::string& path, int seconds = 30);

}  // namespace zorvane::testing
