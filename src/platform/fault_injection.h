#pragma once

#include <string>

#include "platform/result.h"

// Faults on demand, for tests that prove a command never loses data: every file operation that
// changes the disk asks here first, and fails, or ends the process, when a test has armed a
// fault for it.
namespace zorvane::platform {

enum class FileOperation { Create, Write, Flush, Rename, Delete, CreateFolder, Link, FolderFlush };
inline constexpr int kFileOperationKinds = 8;

// The exit code of a process that DieAt() ended.
inline constexpr int kInjectedDeathExitCode = 86;

class FaultInjection {
 public:
  // From now on, the n-th operation (1-based) of this kind fails with `reason`, and so do the
  // `times` - 1 after it; the others of that kind succeed. Arming again replaces the earlier
  // fault of that kind.
  static void FailAt(FileOperation operation, int n, std::string reason = "Injected fault",
                     int times = 1);
  // From now on, the process ends at once (_exit, as if killed) when it is about to do the n-th
  // operation of this kind, so that the operation is not done.
  static void DieAt(FileOperation operation, int n);
  // Forgets every fault and sets every counter to 0.
  static void Reset();
  // How many operations of this kind were asked for since the last Reset().
  static int Count(FileOperation operation);
};

// Counts one operation of this kind; fails when a fault is armed for it.
Status CheckFault(FileOperation operation);

}  // namespace zorvane::platform
