#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "platform/fault_injection.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/resolved_folder.h"
#include "platform/scripted_ui.h"
#include "support/child_process.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::SnapshotFolder;
using testing::WriteFile;
using Folder = std::map<std::string, Bytes>;

FileTransaction::ContentWriter Out(std::string text) {
  return [text](SafeFileWriter& out) { return out.Write(std::string_view(text)); };
}

// The change of the tests below, in `folder`: index and archive with backups, and two outputs.
CommitResult ChangeAll(const FolderLock& lock, const std::string& folder) {
  FileTransaction transaction(lock);
  ResolvedFolder outputs(folder);
  auto archive = transaction.Stage(folder + "SHP.PFP", folder + "SHP_OLD.PFP");
  Status staged = archive ? archive.Value()->Write(std::string_view("archive v3"))
                          : Status::Failure(archive.Reason());
  if (staged) {
    staged = transaction.StageBytes(folder + "PFPDATA.IDX", folder + "PFPDATA_OLD.IDX",
                                    BytesOf("index v3"));
  }
  if (staged) staged = transaction.StageResolvedOutput(outputs.PathOf("out_0.bmp"), Out("new 0"));
  if (staged) staged = transaction.StageResolvedOutput(outputs.PathOf("out_1.bmp"), Out("new 1"));
  if (!staged) return {staged};
  return transaction.Commit();
}

// In another process: the change of FOLDER, dying before its first link.
const bool kDyingAtTheFirstLink = testing::RegisterChildWork("change-dying", [](const auto& args) {
  ScriptedUi ui;
  const auto lock = LockForChanges(args[0], ui);
  if (!lock) return 1;
  FaultInjection::DieAt(FileOperation::Link, 1);
  (void)ChangeAll(lock.Value(), args[0]);
  return 0;
});

// An index with an older backup, an archive without, an earlier output in another case and a
// file nobody touches; the change replaces index and archive with backups, and two outputs.
class FileTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FaultInjection::Reset();
    WriteFile(temp / "PFPDATA.IDX", "index v2");
    WriteFile(temp / "PFPDATA_OLD.IDX", "index v1");
    WriteFile(temp / "shp.pfp", "archive v2");
    WriteFile(temp / "OUT_1.BMP", "old 1");
    WriteFile(temp / "other.pfp", "untouched");
    before = SnapshotFolder(temp.Path());
    ScriptedUi ui;
    lock.emplace(LockForChanges(temp.Path(), ui).Value());
  }
  void TearDown() override { FaultInjection::Reset(); }

  CommitResult ChangeAll() { return platform::ChangeAll(*lock, temp.Path()); }

  // The folder once ChangeAll() has done its work: the existing spelling of a name stays.
  static Folder AllChanged() {
    return {{"PFPDATA.IDX", BytesOf("index v3")}, {"PFPDATA_OLD.IDX", BytesOf("index v2")},
            {"shp.pfp", BytesOf("archive v3")},   {"SHP_OLD.PFP", BytesOf("archive v2")},
            {"out_0.bmp", BytesOf("new 0")},      {"OUT_1.BMP", BytesOf("new 1")},
            {"other.pfp", BytesOf("untouched")}};
  }

  std::string Recovered(const std::string& what) const {
    return "Zorvane found a change of " + temp.Path() +
           " that a run which ended early had not finished, and has " + what;
  }

  // Lets the folder go, as the run that held it would, and runs the next run's recovery.
  std::vector<std::string> RecoverAsTheNextRun() {
    lock.reset();
    ScriptedUi ui;
    RecoverInterrupted(temp.Path(), ui);
    return ui.Messages();
  }

  testing::TempFolder temp;
  Folder before;
  std::optional<FolderLock> lock;
};

TEST_F(FileTransactionTest, NewFilesTakeThePlaceOfTheCurrentOnesWhichBecomeBackups) {
  ASSERT_TRUE(ChangeAll());
  EXPECT_EQ(SnapshotFolder(temp.Path()), AllChanged());
}

// Every worker still reads the archive it replaces when it commits; Windows cannot rename over
// an open file, so the program lets go of its own readers first.
TEST_F(FileTransactionTest, AFileThisProgramReadsIsReplacedAllTheSame) {
  const auto reader = InputFile::Open(temp / "SHP.PFP");
  ASSERT_TRUE(reader);
  ASSERT_TRUE(ChangeAll());
  EXPECT_EQ(SnapshotFolder(temp.Path()), AllChanged());
}

class FailingStep : public FileTransactionTest,
                    public ::testing::WithParamInterface<FileOperation> {};

// Whichever step fails, at whichever time, the folder is as it was and the reason is given.
TEST_P(FailingStep, LeavesTheFolderAsItWas) {
  int failures = 0;
  for (int n = 1;; ++n) {
    FaultInjection::Reset();
    FaultInjection::FailAt(GetParam(), n, "Disk full");
    const CommitResult changed = ChangeAll();
    if (changed) break;
    ++failures;
    EXPECT_FALSE(changed.ChangedFiles);
    EXPECT_TRUE(changed.Outcome.Reason().ends_with("Disk full")) << changed.Outcome.Reason();
    ASSERT_EQ(SnapshotFolder(temp.Path()), before) << "fault at operation " << n;
  }
  EXPECT_GT(failures, 0);
  EXPECT_EQ(SnapshotFolder(temp.Path()), AllChanged());
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingStep,
                         ::testing::Values(FileOperation::Create, FileOperation::Write,
                                           FileOperation::Flush, FileOperation::Rename,
                                           FileOperation::Link, FileOperation::FolderFlush));

// A backup that another file of the same change writes is refused before anything is written.
TEST_F(FileTransactionTest, ABackupThatTheSameChangeWritesIsRefused) {
  FileTransaction transaction(*lock);
  ASSERT_TRUE(transaction.StageBytes(temp / "X.PFP", temp / "SHP.PFP", BytesOf("x")));
  ASSERT_TRUE(transaction.StageBytes(temp / "shp.pfp", "", BytesOf("a")));
  const CommitResult committed = transaction.Commit();
  EXPECT_FALSE(committed.ChangedFiles);
  EXPECT_EQ(committed.Outcome.Reason(), "The backup of " + temp.Path() +
                                            "X.PFP would take the place of " + temp.Path() +
                                            "shp.pfp, which the same change writes.");
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
}

// What crashed runs left: temporaries, and files that earlier versions set aside under names
// holding the number of a process that no longer runs. The next writer removes them, but not
// what a running process set aside, nor files of the user that merely look alike.
TEST_F(FileTransactionTest, TheNextWriterRemovesWhatEndedRunsLeft) {
  lock.reset();
  WriteFile(temp / ".zv-1", "temporary");
  WriteFile(temp / ".shp.pfp.zorvane-aside-999999999-12-3", "set aside");
  WriteFile(temp / ".shp.pfp.zorvane-" + std::to_string(testing::ThisProcess()) + "-12-4",
            "live run's");
  WriteFile(temp / ".zv-notes.txt", "the user's");
  Folder expected = SnapshotFolder(temp.Path());
  expected.erase(".zv-1");
  expected.erase(".shp.pfp.zorvane-aside-999999999-12-3");
  ScriptedUi ui;
  ASSERT_TRUE(LockForChanges(temp.Path(), ui));
  EXPECT_EQ(SnapshotFolder(temp.Path()), expected);
}

// Faults on the way to a change made in part: n is the count of the operation that first fails
// (twice in a row), after the journal's two renames and those of the files put in place.
struct PartialCase {
  const char* Name;
  int FailingLink;
  int FailingRename;
  const char* MessageStart;
  bool NextRunCompletes;
};

class PartlyMade : public FileTransactionTest, public ::testing::WithParamInterface<PartialCase> {};

// The message says what was changed and where each version is; the next run puts the folder
// entirely in the state before or entirely in the state after.
TEST_P(PartlyMade, IsReportedTruthfullyAndTheNextRunFinishesIt) {
  const PartialCase& c = GetParam();
  if (c.FailingLink > 0) FaultInjection::FailAt(FileOperation::Link, c.FailingLink);
  FaultInjection::FailAt(FileOperation::Rename, c.FailingRename, "Injected fault", 2);
  const CommitResult changed = ChangeAll();
  FaultInjection::Reset();
  ASSERT_FALSE(changed);
  EXPECT_TRUE(changed.ChangedFiles);
  EXPECT_EQ(changed.FailureMessage("Nothing has been changed."), changed.Outcome.Reason());
  const std::string& message = changed.Outcome.Reason();
  EXPECT_TRUE(message.starts_with(c.MessageStart)) << message;
  EXPECT_NE(message.find(temp.Path() + ".zv-"), std::string::npos) << message;
  EXPECT_EQ(
      RecoverAsTheNextRun(),
      std::vector<std::string>{Recovered(
          c.NextRunCompletes ? "completed it: 4 files are in their new version, with their backups."
                             : "undone it: the files are as they were before it.")});
  EXPECT_EQ(SnapshotFolder(temp.Path()), c.NextRunCompletes ? AllChanged() : before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PartlyMade,
    ::testing::Values(
        // The index cannot get its second name, and the archive, replaced, cannot be put back.
        PartialCase{"UndoFails", 2, 4, "The change could not be made: Cannot keep the current ",
                    false},
        // Everything is in place, but the archive's earlier version cannot become its backup.
        PartialCase{"BackupsUnfinished", 0, 7,
                    "The new files are in place, but not every earlier version could be kept as "
                    "its backup:\r\nCannot rename ",
                    true}),
    [](const auto& info) { return std::string(info.param.Name); });

class DamagedNewFile : public FileTransactionTest,
                       public ::testing::WithParamInterface<const char*> {};

// A run killed after its journal, before anything was put in place, whose new archive was then
// damaged (cut short, or changed at the same length): the change cannot be completed and is
// undone.
TEST_P(DamagedNewFile, TheChangeIsUndone) {
  lock.reset();
  ASSERT_EQ(testing::RunInChild("change-dying", {temp.Path()}), kInjectedDeathExitCode);
  int damaged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    if (testing::ReadText(entry.path().string()) == "archive v3") {
      WriteFile(entry.path().string(), GetParam());
      ++damaged;
    }
  }
  ASSERT_EQ(damaged, 1);
  EXPECT_EQ(
      RecoverAsTheNextRun(),
      std::vector<std::string>{Recovered("undone it: the files are as they were before it.")});
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedNewFile, ::testing::Values("archive", "archive v4"));

}  // namespace
}  // namespace zorvane::platform
