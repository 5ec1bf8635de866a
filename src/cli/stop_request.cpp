#include "cli/stop_request.h"

#include <csignal>

#include <atomic>

namespace zorvane::cli {

namespace {

std::atomic<bool> watched{false};
std::atomic<bool> requested{false};

extern "C" void OnInterrupt(int signal) {
  if (!watched.load() || requested.exchange(true)) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

}  // namespace

void HandleInterrupts() {
  std::signal(SIGINT, OnInterrupt);
}

void RequestStop() {
  requested.store(true);
}

bool StopRequested() {
  return requested.load();
}

StopWatch::StopWatch() {
  watched.store(true);
}

StopWatch::~StopWatch() {
  watched.store(false);
  requested.store(false);
}

}  // namespace zorvane::cli
