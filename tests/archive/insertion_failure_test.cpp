#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "insertion_test_support.h"
#include "platform/fault_injection.h"
#include "small_installation.h"

namespace zorvane::archive {
namespace {

using platform::FaultInjection;
using platform::FileOperation;
using testing::BytesOf;
using testing::SnapshotFolder;

const std::string kNewIcons(105, '+');

struct FaultCase {
  FileOperation Operation;
  bool OlderBackups;  // whether SHP_OLD.PFP and PFPDATA_OLD.IDX exist before
};

std::string Describe(const FaultCase& c) {
  static const char* const kNames[] = {"Create", "Write", "Flush", "Rename", "Delete"};
  return std::string(kNames[static_cast<int>(c.Operation)]) +
         (c.OlderBackups ? "WithOlderBackups" : "");
}

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << Describe(c);
}

class InsertionFault : public testing::InsertionFixture,
                       public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    FaultInjection::Reset();
    testing::WriteSmallInstallation(data.Path());
    if (GetParam().OlderBackups) {
      testing::WriteFile(data / "SHP_OLD.PFP", "an older archive");
      testing::WriteFile(data / "PFPDATA_OLD.IDX", "an older index");
    }
    testing::WriteFile(edits / "ICONS.SHP", kNewIcons);
  }
  void TearDown() override { FaultInjection::Reset(); }

  // The folder after a successful insertion of ICONS.SHP.
  std::map<std::string, testing::Bytes> Inserted(std::map<std::string, testing::Bytes> before) {
    before["SHP.PFP"] = BytesOf("mainmenu" + kNewIcons + "buttonscurs");
    before["SHP_OLD.PFP"] = BytesOf("mainmenuiconsbuttonscurs");
    before["PFPDATA.IDX"] = testing::SmallIndexBytes(testing::WithRecords(
        testing::SmallIndexRecords(), {{3, {105, 8}}, {4, {7, 113}}, {5, {4, 120}}}));
    before["PFPDATA_OLD.IDX"] = testing::SmallIndexBytes(testing::SmallIndexRecords());
    return before;
  }
};

// Each operation of the kind fails in turn, the first, the second ... until the insertion gets
// through: every failure is reported, names a file of the DATA folder and leaves every file as
// it was (no backup lost, no temporary file left); the run that gets through gives the whole
// result.
TEST_P(InsertionFault, EveryFailureLeavesTheInstallationAsItWas) {
  const auto before = SnapshotFolder(data.Path());
  const std::string failedPrefix = "The insertion of " + (edits / "ICONS.SHP") + " into " +
                                   (data / "SHP.PFP") + " has failed:\r\n";
  int failures = 0;
  for (int n = 1;; ++n) {
    ASSERT_LT(n, 100) << "the insertion never got through";
    FaultInjection::Reset();
    FaultInjection::FailAt(GetParam().Operation, n, "Injected fault");
    ui.Clear();
    const InsertionOutcome outcome = InsertChosen(edits / "ICONS.SHP");
    if (outcome == InsertionOutcome::Inserted) break;
    ++failures;
    ASSERT_EQ(outcome, InsertionOutcome::Refused);
    ASSERT_EQ(ui.Messages().size(), 1u);
    const std::string message = ui.Messages()[0];
    EXPECT_TRUE(message.starts_with(failedPrefix)) << message;
    EXPECT_TRUE(message.ends_with(": Injected fault\r\nNothing has been changed.")) << message;
    EXPECT_NE(message.find(data.Path(), failedPrefix.size()), std::string::npos) << message;
    EXPECT_FALSE(ui.Busy());
    ASSERT_EQ(SnapshotFolder(data.Path()), before) << "fault at operation " << n;
  }
  EXPECT_EQ(SnapshotFolder(data.Path()), Inserted(before));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{testing::InsertionCompleted(
                               edits / "ICONS.SHP", data.Path(), "SHP")});
  // Deleting the older backups comes after the new files are in place: a failed delete is
  // retried and is never a reason to undo the insertion.
  if (GetParam().Operation == FileOperation::Delete) {
    EXPECT_EQ(failures, 0);
  } else {
    EXPECT_GT(failures, 0);
  }
}

std::string FaultCaseName(const ::testing::TestParamInfo<FaultCase>& info) {
  return Describe(info.param);
}

INSTANTIATE_TEST_SUITE_P(Operations, InsertionFault,
                         ::testing::Values(FaultCase{FileOperation::Create, false},
                                           FaultCase{FileOperation::Write, false},
                                           FaultCase{FileOperation::Flush, false},
                                           FaultCase{FileOperation::Rename, false},
                                           FaultCase{FileOperation::Create, true},
                                           FaultCase{FileOperation::Write, true},
                                           FaultCase{FileOperation::Flush, true},
                                           FaultCase{FileOperation::Rename, true},
                                           FaultCase{FileOperation::Delete, true}),
                         FaultCaseName);

// Makes a folder refuse new entries while it lives: by its permissions, or, where those do not
// bind (a test run as root), by the file system's immutable attribute.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(const std::string& path) : path_(path) {
    ::chmod(path_.c_str(), 0555);
    if (!Writable()) return;
    const int folder = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
    if (folder < 0) return;
    int flags = 0;
    if (::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      immutable_ = ::ioctl(folder, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(folder);
  }
  ~UnwritableFolder() {
    if (immutable_) {
      const int folder = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY);
      int flags = 0;
      if (folder >= 0 && ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(folder, FS_IOC_SETFLAGS, &flags);
      }
      if (folder >= 0) ::close(folder);
    }
    ::chmod(path_.c_str(), 0755);
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;

  // Whether a file can still be created in the folder.
  bool Writable() const {
    const std::string probe = path_ + ".probe";
    const int file = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0) return false;
    ::close(file);
    ::unlink(probe.c_str());
    return true;
  }

 private:
  std::string path_;
  bool immutable_ = false;
};

class ReadOnlyData : public testing::InsertionFixture {
 protected:
  void SetUp() override { testing::WriteSmallInstallation(data.Path()); }
};

TEST_F(ReadOnlyData, IsReportedAndChangesNothing) {
  testing::WriteFile(edits / "ICONS.SHP", kNewIcons);
  const auto before = SnapshotFolder(data.Path());
  UnwritableFolder readOnly(data.Path());
  if (readOnly.Writable()) {
    GTEST_SKIP() << "neither permissions nor the immutable attribute stop writes here; the "
                    "fault-injection tests cover failing writes";
  }
  EXPECT_EQ(InsertChosen(edits / "ICONS.SHP"), InsertionOutcome::Refused);
  ASSERT_EQ(ui.Messages().size(), 1u);
  const std::string message = ui.Messages()[0];
  EXPECT_TRUE(
      message.starts_with("The lock file " + (data / ".zorvane.lock") + " cannot be made: "))
      << message;
  EXPECT_TRUE(message.ends_with("\r\nNothing has been changed.")) << message;
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

}  // namespace
}  // namespace zorvane::archive
