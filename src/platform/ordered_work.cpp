#include "platform/ordered_work.h"

#include <algorithm>
#include <atomic>

namespace zorvane::platform {

namespace {

std::atomic<unsigned> chosenThreads{0};

}  // namespace

unsigned WorkThreads() {
  if (const unsigned chosen = chosenThreads.load(); chosen != 0) return chosen;
  return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

void SetWorkThreads(unsigned threads) {
  chosenThreads.store(threads);
}

}  // namespace zorvane::platform
