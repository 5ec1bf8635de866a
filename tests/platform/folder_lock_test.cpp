#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/folder_lock.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using std::chrono::milliseconds;

// Another process that holds the folder's lock until the test lets it go, or for a while.
class OtherHolder {
 public:
  OtherHolder(const std::string& folder, LockMode mode, int holdMilliseconds = -1) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    EXPECT_EQ(::pipe(release_), 0);
    child_ = ::fork();
    if (child_ == 0) {
      const auto lock = FolderLock::Take(folder, mode, milliseconds(0));
      char byte = lock ? 1 : 0;
      (void)!::write(ready[1], &byte, 1);
      if (holdMilliseconds >= 0) ::usleep(static_cast<useconds_t>(holdMilliseconds) * 1000);
      if (holdMilliseconds < 0) (void)!::read(release_[0], &byte, 1);
      ::_exit(0);  // as if killed: nothing is let go on the way out
    }
    char byte = 0;
    EXPECT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 1) << "the other process did not get the lock";
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~OtherHolder() {
    (void)!::write(release_[1], "x", 1);
    ::waitpid(child_, nullptr, 0);
    ::close(release_[0]);
    ::close(release_[1]);
  }
  pid_t Process() const { return child_; }

 private:
  int release_[2] = {-1, -1};
  pid_t child_ = -1;
};

TEST(FolderLock, AWriterOfAnotherProcessKeepsEveryoneElseOutIsNamedAndWaitedFor) {
  const testing::TempFolder folder;
  {
    const OtherHolder writer(folder.Path(), LockMode::Exclusive);
    for (LockMode mode : {LockMode::Exclusive, LockMode::Shared}) {
      const auto refused = FolderLock::Take(folder.Path(), mode, milliseconds(50));
      ASSERT_FALSE(refused);
      EXPECT_EQ(refused.Reason(), "Another program (process " + std::to_string(writer.Process()) +
                                      ") is using the files in " + folder.Path() +
                                      " and has not finished within 2 seconds.");
    }
  }
  EXPECT_TRUE(FolderLock::Take(folder.Path(), LockMode::Exclusive, milliseconds(0)));
  // A writer that finishes within the wait is waited for, not refused.
  const OtherHolder first(folder.Path(), LockMode::Exclusive, 300);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(FolderLock::Take(folder.Path(), LockMode::Exclusive));
  EXPECT_GE(std::chrono::steady_clock::now() - started, milliseconds(100));
}

// Readers keep a writer out; the refusal names no earlier writer, neither one that ended while
// it held the folder nor one that let go and runs on.
TEST(FolderLock, ReadersShareTheFolderButKeepAWriterOut) {
  for (const bool earlierWriterEnded : {true, false}) {
    const testing::TempFolder folder;
    if (earlierWriterEnded) {
      const OtherHolder writer(folder.Path(), LockMode::Exclusive);
    } else {
      ASSERT_TRUE(FolderLock::Take(folder.Path(), LockMode::Exclusive, milliseconds(0)));
    }
    const OtherHolder reader(folder.Path(), LockMode::Shared);
    const auto writer = FolderLock::Take(folder.Path(), LockMode::Exclusive, milliseconds(0));
    ASSERT_FALSE(writer);
    EXPECT_EQ(writer.Reason(), "Another program is using the files in " + folder.Path() +
                                   " and has not finished within 2 seconds.");
    EXPECT_TRUE(FolderLock::Take(folder.Path(), LockMode::Shared, milliseconds(0)));
  }
}

// A worker locks the folder its caller has locked already and goes on; the folder stays locked
// until the outermost holder lets go.
TEST(FolderLock, NestedHoldersOfOneProcessShareTheLock) {
  const testing::TempFolder folder;
  std::optional<FolderLock> outer =
      FolderLock::Take(folder.Path(), LockMode::Exclusive, milliseconds(0)).Value();
  {
    const auto inner = FolderLock::Take(folder.Path(), LockMode::Exclusive, milliseconds(0));
    ASSERT_TRUE(inner);
    EXPECT_FALSE(inner.Value().First());
  }
  // Another program, which opens the lock file on its own, is still kept out.
  const int other = ::open((folder / kLockFileName).c_str(), O_RDONLY);
  ASSERT_GE(other, 0);
  EXPECT_NE(::flock(other, LOCK_SH | LOCK_NB), 0) << "the inner holder let the folder go";
  outer.reset();
  EXPECT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0) << "the outer holder kept the folder";
  ::close(other);
}

// A name cut short at a NUL byte would make the lock file in another folder.
TEST(FolderLock, AMissingFolderIsNamedAndNothingIsMadeElsewhere) {
  const testing::TempFolder folder;
  for (const std::string& missing : {folder / "gone", folder / std::string("x\0/y", 4)}) {
    const auto lock = FolderLock::Take(missing, LockMode::Exclusive);
    ASSERT_FALSE(lock);
    EXPECT_EQ(lock.Reason(), "The folder " + missing + "/ does not exist.");
    EXPECT_TRUE(FolderLock::Take(missing, LockMode::Shared));
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
}  // namespace zorvane::platform
