#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/folder_lock.h"
#include "platform/paths.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using std::chrono::milliseconds;

LockMode ModeNamed(const std::string& name) {
  return name == "exclusive" ? LockMode::Exclusive : LockMode::Shared;
}

// In another process: takes the lock of FOLDER (MODE) at once, says so in the file "ready" of
// SIGNALS, holds it for HOLD milliseconds or, with -1, until the file "release" is there, then
// ends as if killed: nothing is let go on the way out.
const bool kHolding = testing::RegisterChildWork("hold-lock", [](const auto& args) {
  const auto lock = FolderLock::Take(args[0], ModeNamed(args[1]), milliseconds(0));
  testing::WriteFile(args[2] + (lock ? "ready" : "refused"), "");
  const int hold = std::stoi(args[3]);
  if (hold >= 0) std::this_thread::sleep_for(milliseconds(hold));
  if (hold < 0) testing::AwaitFile(args[2] + "release");
  std::_Exit(0);
  return 0;
});

// In another process: whether the lock of FOLDER can be taken shared at once (exit code 0).
const bool kProbing = testing::RegisterChildWork("probe-lock", [](const auto& args) {
  return FolderLock::Take(args[0], LockMode::Shared, milliseconds(0)) ? 0 : 1;
});

// Another process that holds the folder's lock until the test lets it go, or for a while.
class OtherHolder {
 public:
  OtherHolder(const std::string& folder, LockMode mode, int holdMilliseconds = -1)
      : child_(testing::ChildProcess::Start(
            "hold-lock", {folder, mode == LockMode::Exclusive ? "exclusive" : "shared",
                          signals_.Path(), std::to_string(holdMilliseconds)})) {
    EXPECT_TRUE(testing::AwaitFile(signals_ / "ready", 10))
        << "the other process did not get the lock";
  }
  ~OtherHolder() { testing::WriteFile(signals_ / "release", ""); }
  long Process() const { return child_.Id(); }

 private:
  testing::TempFolder signals_;
  testing::ChildProcess child_;
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
  // Another program is still kept out.
  EXPECT_EQ(testing::RunInChild("probe-lock", {folder.Path()}), 1)
      << "the inner holder let the folder go";
  outer.reset();
  EXPECT_EQ(testing::RunInChild("probe-lock", {folder.Path()}), 0)
      << "the outer holder kept the folder";
}

// A name cut short at a NUL byte would make the lock file in another folder.
TEST(FolderLock, AMissingFolderIsNamedAndNothingIsMadeElsewhere) {
  const testing::TempFolder folder;
  for (const std::string& missing : {folder / "gone", folder / std::string("x\0/y", 4)}) {
    const auto lock = FolderLock::Take(missing, LockMode::Exclusive);
    ASSERT_FALSE(lock);
    EXPECT_EQ(lock.Reason(), "The folder " + missing + kSeparator + " does not exist.");
    EXPECT_TRUE(FolderLock::Take(missing, LockMode::Shared));
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
}  // namespace zorvane::platform
