#include "platform/folder_lock.h"

#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/number_text.h"
#include "platform/os_calls.h"
#include "platform/paths.h"
#include "platform/processes.h"

namespace zorvane::platform {

namespace {

// The locks this process holds, by folder.
struct Hold {
  os::Handle File = os::kNoHandle;
  LockMode Mode = LockMode::Shared;
  int Holders = 0;
};

struct Holds {
  std::mutex Lock;
  std::map<std::string, Hold> ByFolder;
};

Holds& TheHolds() {
  static Holds holds;
  return holds;
}

// The process that wrote its number into the lock file while it changes the folder; empty when
// the file names none (the folder is being read, or the holder just let go) or names a process
// that ended without letting go.
std::string HolderOf(os::Handle file) {
  std::uint8_t text[32] = {};
  const auto got = os::ReadSomeAt(file, 0, text);
  if (!got || got.Value() == 0) return {};
  const std::string_view digits =
      TrimSpaces(std::string_view(reinterpret_cast<const char*>(text), got.Value()));
  const auto process = ProcessNumber(digits);
  if (!process || !ProcessRuns(*process)) return {};
  return std::string(digits);
}

std::string BusyReason(const std::string& folder, os::Handle file) {
  const std::string holder = HolderOf(file);
  return "Another program" + (holder.empty() ? std::string() : " (process " + holder + ")") +
         " is using the files in " + folder + " and has not finished within " +
         std::to_string(kLockWait.count() / 1000) + " seconds.";
}

// Locks the file, trying again until `wait` has passed.
bool LockWithin(os::Handle file, LockMode mode, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (os::TryLock(file, mode == LockMode::Exclusive)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void NameHolder(os::Handle file) {
  os::RewriteLockFile(file, std::to_string(os::CurrentProcess()));
}

}  // namespace

Result<FolderLock> FolderLock::Take(const std::string& folder, LockMode mode,
                                    std::chrono::milliseconds wait) {
  const std::string resolved = WithTrailingSeparator(ResolvePath(folder));
  Holds& holds = TheHolds();
  std::lock_guard guard(holds.Lock);
  Hold& hold = holds.ByFolder[resolved];
  if (hold.Holders > 0) {
    if (mode == LockMode::Exclusive && hold.Mode == LockMode::Shared) {
      if (!LockWithin(hold.File, mode, wait)) {
        return Status::Failure(BusyReason(resolved, hold.File));
      }
      hold.Mode = mode;
      NameHolder(hold.File);
    }
    ++hold.Holders;
    return FolderLock(resolved, false);
  }
  const std::string path = resolved + kLockFileName;
  // A name holding a NUL byte names no folder: the system would cut it short and make the lock
  // file somewhere else.
  if (CutShortBySystem(path)) {
    holds.ByFolder.erase(resolved);
    if (mode == LockMode::Shared) return FolderLock(resolved, true);
    return Status::Failure("The folder " + resolved + " does not exist.");
  }
  os::Handle file = os::kNoHandle;
  os::Outcome failure = os::OpenLockFile(path, true, file);
  // A folder that cannot be written can still be read, and nobody can change it either.
  if (failure && mode == LockMode::Shared) {
    if (os::OpenLockFile(path, false, file)) {
      holds.ByFolder.erase(resolved);
      return FolderLock(resolved, true);
    }
    failure.reset();
  }
  if (failure) {
    holds.ByFolder.erase(resolved);
    if (failure->Kind == os::ErrorKind::Missing) {
      return Status::Failure("The folder " + resolved + " does not exist.");
    }
    return Status::Failure("The lock file " + path + " cannot be made: " + failure->Text + ".");
  }
  if (!LockWithin(file, mode, wait)) {
    const std::string reason = BusyReason(resolved, file);
    (void)os::Close(file);
    holds.ByFolder.erase(resolved);
    return Status::Failure(reason);
  }
  if (mode == LockMode::Exclusive) NameHolder(file);
  hold = Hold{file, mode, 1};
  return FolderLock(resolved, true);
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : folder_(std::exchange(other.folder_, {})), first_(other.first_) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    Release();
    folder_ = std::exchange(other.folder_, {});
    first_ = other.first_;
  }
  return *this;
}

FolderLock::~FolderLock() {
  Release();
}

void FolderLock::Release() {
  if (folder_.empty()) return;
  Holds& holds = TheHolds();
  std::lock_guard guard(holds.Lock);
  const auto found = holds.ByFolder.find(std::exchange(folder_, {}));
  if (found == holds.ByFolder.end() || --found->second.Holders > 0) return;
  const os::Handle file = found->second.File;
  // The holder's number goes before the lock, so that nobody is named who no longer holds it.
  if (found->second.Mode == LockMode::Exclusive) os::RewriteLockFile(file, {});
  (void)os::Close(file);
  holds.ByFolder.erase(found);
}

}  // namespace zorvane::platform
