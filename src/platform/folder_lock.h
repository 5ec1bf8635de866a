#pragma once

#include <chrono>
#include <string>

#include "platform/result.h"

namespace zorvane::platform {

// The hidden file of a folder whose lock says who may change the folder: ".zorvane.lock".
inline constexpr char kLockFileName[] = ".zorvane.lock";

// How long a command waits for another program to let go of a folder before it gives up.
inline constexpr std::chrono::milliseconds kLockWait{2000};

enum class LockMode { Shared, Exclusive };

// A lock on a folder (flock, or LockFileEx on Windows, on its lock file): one program changes the
// folder at a time (Exclusive), and nobody reads it while it is being changed (Shared). The lock is
// let go when the object goes, or when the process ends in whatever way. Within one process the
// lock of a folder is taken once and shared by every nested holder, so a worker that locks the
// folder it is already locked by its caller goes on at once; an exclusive hold serves shared
// requests too.
class FolderLock {
 public:
  // Takes the lock of `folder`, waiting up to `wait` for another program. The failure's reason
  // is a whole sentence for the user: which folder, and which process holds it where known.
  static Result<FolderLock> Take(const std::string& folder, LockMode mode,
                                 std::chrono::milliseconds wait = kLockWait);
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // The folder, resolved, ending in the separator.
  const std::string& Folder() const { return folder_; }
  // Whether this process took the folder's lock with this object, not an earlier holder.
  bool First() const { return first_; }

 private:
  FolderLock(std::string folder, bool first) : folder_(std::move(folder)), first_(first) {}
  void Release();
  std::string folder_;
  bool first_ = false;
};

}  // namespace zorvane::platform
