#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/processes.h"

namespace zorvane::platform {

namespace {

// The locks this process holds, by folder.
struct Hold {
  int Descriptor = -1;
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
std::string HolderOf(int descriptor) {
  char text[32] = {};
  const ssize_t got = ::pread(descriptor, text, sizeof text - 1, 0);
  if (got <= 0) return {};
  const std::string_view digits = TrimSpaces(std::string_view(text, static_cast<std::size_t>(got)));
  const auto process = ProcessNumber(digits);
  if (!process || !ProcessRuns(*process)) return {};
  return std::string(digits);
}

std::string BusyReason(const std::string& folder, int descriptor) {
  const std::string holder = HolderOf(descriptor);
  return "Another program" + (holder.empty() ? std::string() : " (process " + holder + ")") +
         " is using the files in " + folder + " and has not finished within " +
         std::to_string(kLockWait.count() / 1000) + " seconds.";
}

// Locks the file, trying again until `wait` has passed.
bool LockWithin(int descriptor, LockMode mode, std::chrono::milliseconds wait) {
  const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(descriptor, operation) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void NameHolder(int descriptor) {
  const std::string text = std::to_string(::getpid());
  if (::ftruncate(descriptor, 0) == 0) (void)!::pwrite(descriptor, text.data(), text.size(), 0);
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
      if (!LockWithin(hold.Descriptor, mode, wait)) {
        return Status::Failure(BusyReason(resolved, hold.Descriptor));
      }
      hold.Mode = mode;
      NameHolder(hold.Descriptor);
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
  int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  // A folder that cannot be written can still be read, and nobody can change it either.
  if (descriptor < 0 && mode == LockMode::Shared) {
    descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
      holds.ByFolder.erase(resolved);
      return FolderLock(resolved, true);
    }
  }
  if (descriptor < 0) {
    const int error = errno;
    holds.ByFolder.erase(resolved);
    if (error == ENOENT || error == ENOTDIR) {
      return Status::Failure("The folder " + resolved + " does not exist.");
    }
    return Status::Failure("The lock file " + path + " cannot be made: " + std::strerror(error) +
                           ".");
  }
  if (!LockWithin(descriptor, mode, wait)) {
    const std::string reason = BusyReason(resolved, descriptor);
    ::close(descriptor);
    holds.ByFolder.erase(resolved);
    return Status::Failure(reason);
  }
  if (mode == LockMode::Exclusive) NameHolder(descriptor);
  hold = Hold{descriptor, mode, 1};
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
  const int descriptor = found->second.Descriptor;
  // The holder's number goes before the lock, so that nobody is named who no longer holds it.
  if (found->second.Mode == LockMode::Exclusive) (void)!::ftruncate(descriptor, 0);
  ::close(descriptor);
  holds.ByFolder.erase(found);
}

}  // namespace zorvane::platform
