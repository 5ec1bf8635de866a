#pragma once

#include <string>

#include "platform/result.h"

// Faults on demand, for tests that prove a command never loses data: every file operation that
// changes the disk asks here first, and fails when a test has armed a fault for it.
namespace zorvane::platform {

enum class FileOperation { Create, Write, Flush, Rename, Delete, CreateFolder };
inline constexpr int kFileOperationKinds = 6;

class FaultInjection {
 public:
  // From now on, the n-th operation (1-based) of this kind fails with `reason`; the others of
  // that kind succeed. Arming again replaces the earlier fault of that kind.
  static void FailAt(FileOperation operation, int n, std::string reason = "Injected fault");
  // Forgets every fault and sets every counter to 0.
  static void Reset();
  // How many operations of this kind were asked for since the last Reset().
  static int Count(FileOperation operation);
};

// Counts one operation of this kind; fails when a fault is armed for it.
Status CheckFault(FileOperation operation);

}  // namespace zorvane::platform
