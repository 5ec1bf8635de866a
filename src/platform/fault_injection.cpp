#include "platform/fault_injection.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>

namespace zorvane::platform {

namespace {

struct Plan {
  std::mutex Lock;
  std::array<int, kFileOperationKinds> Counts{};
  std::array<int, kFileOperationKinds> FailAt{};  // 0: no fault armed
  std::array<int, kFileOperationKinds> FailUntil{};
  std::array<std::string, kFileOperationKinds> Reasons;
  std::array<int, kFileOperationKinds> DieAt{};  // 0: the process goes on
};

Plan& ThePlan() {
  static Plan plan;
  return plan;
}

// Whether any fault was ever armed: keeps the lock off the path of every real run.
std::atomic<bool> armed{false};

}  // namespace

void FaultInjection::FailAt(FileOperation operation, int n, std::string reason, int times) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.Lock);
  const auto kind = static_cast<std::size_t>(operation);
  plan.FailAt[kind] = plan.Counts[kind] + n;
  plan.FailUntil[kind] = plan.FailAt[kind] + times - 1;
  plan.Reasons[kind] = std::move(reason);
  armed = true;
}

void FaultInjection::DieAt(FileOperation operation, int n) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.Lock);
  const auto kind = static_cast<std::size_t>(operation);
  plan.DieAt[kind] = plan.Counts[kind] + n;
  armed = true;
}

void FaultInjection::Reset() {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.Lock);
  plan.Counts.fill(0);
  plan.FailAt.fill(0);
  plan.FailUntil.fill(0);
  plan.DieAt.fill(0);
  armed = true;  // counting goes on from 0
}

int FaultInjection::Count(FileOperation operation) {
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.Lock);
  return plan.Counts[static_cast<std::size_t>(operation)];
}

Status CheckFault(FileOperation operation) {
  if (!armed) return Status::Success();
  Plan& plan = ThePlan();
  std::lock_guard lock(plan.Lock);
  const auto kind = static_cast<std::size_t>(operation);
  ++plan.Counts[kind];
  if (plan.Counts[kind] == plan.DieAt[kind]) std::_Exit(kInjectedDeathExitCode);
  if (plan.FailAt[kind] > 0 && plan.Counts[kind] >= plan.FailAt[kind] &&
      plan.Counts[kind] <= plan.FailUntil[kind]) {
    return Status::Failure(plan.Reasons[kind]);
  }
  return Status::Success();
}

}  // namespace zorvane::platform
