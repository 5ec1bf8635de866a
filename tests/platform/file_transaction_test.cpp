#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/copy_range.h"
#include "platform/fault_injection.h"
#include "platform/file_transaction.h"
#include "platform/resolved_folder.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using testing::Bytes;
using testing::ReadText;
using testing::SnapshotFolder;
using testing::WriteFile;

class FileReplacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScriptedUi ui;
    auto taken = LockForChanges(temp.Path(), ui);
    ASSERT_TRUE(taken) << taken.Reason();
    lock.emplace(std::move(taken).Value());
    FaultInjection::Reset();
    WriteFile(temp / "PFPDATA.IDX", "index v2");
    WriteFile(temp / "PFPDATA_OLD.IDX", "index v1");
    WriteFile(temp / "shp.pfp", "archive v2");
    WriteFile(temp / "other.pfp", "untouched");
  }
  void TearDown() override { FaultInjection::Reset(); }

  // Replaces the index and the archive; the archive has no backup yet.
  Status ReplaceBoth() {
    FileTransaction replacement(*lock);
    auto index = replacement.Stage(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX");
    if (!index) return Status::Failure(index.Reason());
    if (auto written = index.Value()->Write(std::string_view("index v3")); !written) return written;
    auto archive = replacement.Stage(temp / "SHP.PFP", temp / "SHP_OLD.PFP");
    if (!archive) return Status::Failure(archive.Reason());
    if (auto written = archive.Value()->Write(std::string_view("archive v3")); !written) {
      return written;
    }
    return replacement.Commit().Outcome;
  }

  // The folder once ReplaceBoth() has done its work.
  static std::map<std::string, Bytes> BothReplaced() {
    return {{"PFPDATA.IDX", testing::BytesOf("index v3")},
            {"PFPDATA_OLD.IDX", testing::BytesOf("index v2")},
            {"shp.pfp", testing::BytesOf("archive v3")},
            {"SHP_OLD.PFP", testing::BytesOf("archive v2")},
            {"other.pfp", testing::BytesOf("untouched")}};
  }

  testing::TempFolder temp;
  std::optional<FolderLock> lock;
};

TEST_F(FileReplacementTest, NewFilesTakeThePlaceOfTheCurrentOnesWhichBecomeBackups) {
  ASSERT_TRUE(ReplaceBoth());
  EXPECT_EQ(SnapshotFolder(temp.Path()), BothReplaced());
}

TEST_F(FileReplacementTest, WithoutACurrentVersionTheOlderBackupIsKept) {
  std::filesystem::remove(temp / "PFPDATA.IDX");
  FileTransaction replacement(*lock);
  auto index = replacement.Stage(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX");
  ASSERT_TRUE(index);
  ASSERT_TRUE(index.Value()->Write(std::string_view("index v3")));
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(ReadText(temp / "PFPDATA.IDX"), "index v3");
  EXPECT_EQ(ReadText(temp / "PFPDATA_OLD.IDX"), "index v1");
}

// What crashed runs left: temporaries, and files that earlier versions set aside under names
// holding the number of a process that no longer runs. The next writer removes them, but not
// what a running process set aside, nor files of the user that merely look alike.
TEST_F(FileReplacementTest, TheNextWriterRemovesWhatEndedRunsLeft) {
  lock.reset();
  const std::string alive = std::to_string(::getpid());
  WriteFile(temp / ".zv-1", "temporary");
  WriteFile(temp / ".shp.pfp.zorvane-aside-999999999-12-3", "set aside");
  WriteFile(temp / ".shp.pfp.zorvane-" + alive + "-12-4", "set aside by a live run");
  WriteFile(temp / ".zv-notes.txt", "the user's");
  auto expected = SnapshotFolder(temp.Path());
  expected.erase(".zv-1");
  expected.erase(".shp.pfp.zorvane-aside-999999999-12-3");
  ScriptedUi ui;
  ASSERT_TRUE(LockForChanges(temp.Path(), ui));
  EXPECT_EQ(SnapshotFolder(temp.Path()), expected);
}

// A backup that is another file of the same change would overwrite what the change writes.
TEST_F(FileReplacementTest, ABackupThatTheSameChangeWritesIsRefused) {
  const auto before = SnapshotFolder(temp.Path());
  FileTransaction replacement(*lock);
  ASSERT_TRUE(
      replacement.StageBytes(temp / "PFPDATA.IDX", temp / "SHP.PFP", testing::BytesOf("i")));
  ASSERT_TRUE(replacement.StageBytes(temp / "shp.pfp", "", testing::BytesOf("a")));
  const CommitResult committed = replacement.Commit();
  ASSERT_FALSE(committed);
  EXPECT_FALSE(committed.ChangedFiles);
  EXPECT_EQ(committed.Outcome.Reason(), "The backup of " + temp.Path() +
                                            "PFPDATA.IDX would take the place of " + temp.Path() +
                                            "shp.pfp, which the same change writes.");
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
}

// Commits the index and the archive with the given faults armed; the transaction is gone
// when this returns, as its run would be.
CommitResult CommitBothWithFaults(const FolderLock& lock, const testing::TempFolder& temp,
                                  int failingLink, int failingRename) {
  FaultInjection::Reset();
  if (failingLink > 0) FaultInjection::FailAt(FileOperation::Link, failingLink);
  FaultInjection::FailAt(FileOperation::Rename, failingRename, "Injected fault", 2);
  FileTransaction replacement(lock);
  EXPECT_TRUE(replacement.StageBytes(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX",
                                     testing::BytesOf("index v3")));
  EXPECT_TRUE(replacement.StageBytes(temp / "SHP.PFP", temp / "SHP_OLD.PFP",
                                     testing::BytesOf("archive v3")));
  CommitResult committed = replacement.Commit();
  FaultInjection::Reset();
  return committed;
}

std::string Recovered(const testing::TempFolder& temp, const std::string& what) {
  return "Zorvane found a change of " + temp.Path() +
         " that a run which ended early had not finished, and has " + what;
}

// The archive cannot get its second name, and the index, already replaced, cannot be put
// back (renames 4 and 5, after the two of the journal and the index's own): the message says
// where each version is, and the next run puts the folder back as it was.
TEST_F(FileReplacementTest, AnUndoThatFailsSaysWhereEverythingIsAndTheNextRunRepairs) {
  const auto before = SnapshotFolder(temp.Path());
  const CommitResult committed = CommitBothWithFaults(*lock, temp, 2, 4);
  ASSERT_FALSE(committed);
  EXPECT_TRUE(committed.ChangedFiles);
  const std::string& message = committed.Outcome.Reason();
  EXPECT_TRUE(message.starts_with("The change could not be made: Cannot keep the current " +
                                  temp.Path() + "shp.pfp as " + temp.Path() + ".zv-"))
      << message;
  EXPECT_NE(
      message.find("\r\nNor could all of it be undone:\r\n" + temp.Path() +
                   "PFPDATA.IDX holds its new version; the old one is in " + temp.Path() + ".zv-"),
      std::string::npos)
      << message;
  EXPECT_TRUE(message.ends_with("the next run of Zorvane completes or undoes it.")) << message;
  EXPECT_EQ(ReadText(temp / "PFPDATA.IDX"), "index v3");

  lock.reset();
  ScriptedUi ui;
  RecoverInterrupted(temp.Path(), ui);
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{Recovered(
                               temp, "undone it: the files are as they were before it.")});
}

// The new files are in place, but the index's earlier version cannot become its backup (renames
// 5 and 6): the message says the change is made, and the next run finishes the backups.
TEST_F(FileReplacementTest, BackupsThatCannotBeKeptAreFinishedByTheNextRun) {
  const CommitResult committed = CommitBothWithFaults(*lock, temp, 0, 5);
  ASSERT_FALSE(committed);
  EXPECT_TRUE(committed.ChangedFiles);
  EXPECT_EQ(committed.FailureMessage("Nothing has been changed."), committed.Outcome.Reason());
  EXPECT_TRUE(committed.Outcome.Reason().starts_with(
      "The new files are in place, but not every earlier version could be kept as its "
      "backup:\r\nCannot rename " +
      temp.Path() + ".zv-"))
      << committed.Outcome.Reason();

  lock.reset();
  ScriptedUi ui;
  RecoverInterrupted(temp.Path(), ui);
  EXPECT_EQ(SnapshotFolder(temp.Path()), BothReplaced());
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{Recovered(
                temp, "completed it: 2 files are in their new version, with their backups.")});
}

// A run killed after its journal, before anything was put in place, whose new archive was
// then damaged (cut short, or changed at the same length): the change cannot be completed, so
// the next run undoes it.
class DamagedNewFile : public FileReplacementTest,
                       public ::testing::WithParamInterface<const char*> {};

TEST_P(DamagedNewFile, TheChangeIsUndone) {
  const auto before = SnapshotFolder(temp.Path());
  lock.reset();
  const pid_t child = ::fork();
  if (child == 0) {
    ScriptedUi ui;
    const auto held = LockForChanges(temp.Path(), ui);
    FaultInjection::DieAt(FileOperation::Link, 1);
    FileTransaction replacement(held.Value());
    (void)replacement.StageBytes(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX",
                                 testing::BytesOf("index v3"));
    (void)replacement.StageBytes(temp / "SHP.PFP", temp / "SHP_OLD.PFP",
                                 testing::BytesOf("archive v3"));
    (void)replacement.Commit();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), kInjectedDeathExitCode);
  int damaged = 0;
  for (const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    if (testing::ReadText(entry.path().string()) == "archive v3") {
      WriteFile(entry.path().string(), GetParam());
      ++damaged;
    }
  }
  ASSERT_EQ(damaged, 1);
  ScriptedUi ui;
  RecoverInterrupted(temp.Path(), ui);
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{Recovered(
                               temp, "undone it: the files are as they were before it.")});
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedNewFile, ::testing::Values("archive", "archive v4"));

TEST_F(FileReplacementTest, AnUncommittedReplacementChangesNothing) {
  const auto before = SnapshotFolder(temp.Path());
  {
    FileTransaction replacement(*lock);
    auto index = replacement.Stage(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX");
    ASSERT_TRUE(index);
    ASSERT_TRUE(index.Value()->Write(std::string_view("half")));
  }
  EXPECT_EQ(SnapshotFolder(temp.Path()), before);
}

class FailingStep : public FileReplacementTest,
                    public ::testing::WithParamInterface<FileOperation> {};

// Whichever step fails, and at whichever time, the folder is as it was.
TEST_P(FailingStep, EveryFailureLeavesTheFolderAsItWas) {
  const auto before = SnapshotFolder(temp.Path());
  int failures = 0;
  for (int n = 1;; ++n) {
    FaultInjection::Reset();
    FaultInjection::FailAt(GetParam(), n, "Injected fault");
    const Status replaced = ReplaceBoth();
    if (replaced) break;
    ++failures;
    EXPECT_NE(replaced.Reason().find("Injected fault"), std::string::npos) << replaced.Reason();
    ASSERT_EQ(SnapshotFolder(temp.Path()), before) << "fault at operation " << n;
  }
  EXPECT_GT(failures, 0);
  EXPECT_EQ(ReadText(temp / "PFPDATA.IDX"), "index v3");
}

// The tool's own outputs: many files replaced together, without backups, none kept open;
// staged as bytes, or through a writer at paths resolved by one listing of their folder.
enum class Staging { Bytes, ResolvedOutput };

class OutputBatch : public FileReplacementTest,
                    public ::testing::WithParamInterface<std::tuple<FileOperation, Staging>> {
 protected:
  Status WriteBatch(int files) {
    FileTransaction replacement(*lock);
    ResolvedFolder folder(temp.Path());
    for (int i = 0; i < files; ++i) {
      const std::string name = "out_" + std::to_string(i) + ".bmp";
      const Bytes content = testing::BytesOf("new " + name);
      const Status staged =
          std::get<1>(GetParam()) == Staging::Bytes
              ? replacement.StageBytes(temp / name, "", content, Durability::Unsynced)
              : replacement.StageResolvedOutput(
                    folder.PathOf(name), [&](SafeFileWriter& out) { return out.Write(content); });
      if (!staged) return staged;
    }
    return replacement.Commit().Outcome;
  }
};

TEST_P(OutputBatch, ReplacesEveryFileOrNone) {
  WriteFile(temp / "OUT_1.BMP", "old 1");
  WriteFile(temp / "out_3.bmp", "old 3");
  const auto before = SnapshotFolder(temp.Path());
  int failures = 0;
  for (int n = 1;; ++n) {
    FaultInjection::Reset();
    FaultInjection::FailAt(std::get<0>(GetParam()), n, "Injected fault");
    if (WriteBatch(5)) break;
    ++failures;
    ASSERT_EQ(SnapshotFolder(temp.Path()), before) << "fault at operation " << n;
  }
  EXPECT_GT(failures, 0);
  auto expected = before;
  for (int i = 0; i < 5; ++i) expected.erase("out_" + std::to_string(i) + ".bmp");
  expected.erase("OUT_1.BMP");
  expected["OUT_1.BMP"] = testing::BytesOf("new out_1.bmp");  // the existing spelling stays
  for (int i : {0, 2, 3, 4}) {
    expected["out_" + std::to_string(i) + ".bmp"] =
        testing::BytesOf("new out_" + std::to_string(i) + ".bmp");
  }
  EXPECT_EQ(SnapshotFolder(temp.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, OutputBatch,
    ::testing::Combine(::testing::Values(FileOperation::Create, FileOperation::Write,
                                         FileOperation::Flush, FileOperation::Rename,
                                         FileOperation::Link),
                       ::testing::Values(Staging::Bytes, Staging::ResolvedOutput)));

// Content staged through a writer fails with the reason the platform gave, so that callers can
// name the file in their own words; nothing is left behind.
TEST_F(FileReplacementTest, AFailureWhileStagingGivesThePlatformsReason) {
  const auto before = SnapshotFolder(temp.Path());
  for (FileOperation operation :
       {FileOperation::Create, FileOperation::Write, FileOperation::Flush}) {
    FaultInjection::Reset();
    FaultInjection::FailAt(operation, 1, "Disk full");
    FileTransaction replacement(*lock);
    const Status staged = replacement.StageWritten(
        temp / "PFPDATA.IDX", "",
        [](SafeFileWriter& out) { return out.Write(std::string_view("index v3")); });
    ASSERT_FALSE(staged);
    EXPECT_TRUE(staged.Reason().ends_with(": Disk full")) << staged.Reason();
    EXPECT_EQ(replacement.StagedCount(), 0u);
    EXPECT_EQ(SnapshotFolder(temp.Path()), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingStep,
                         ::testing::Values(FileOperation::Create, FileOperation::Write,
                                           FileOperation::Flush, FileOperation::Rename,
                                           FileOperation::Link, FileOperation::FolderFlush));

TEST_F(FileReplacementTest, CopyRangeCopiesExactlyTheRangeThroughAFixedBuffer) {
  Bytes source(kTransferBufferSize * 2 + 100);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7);
  WriteFile(temp / "source", source);
  auto input = InputFile::Open(temp / "source");
  ASSERT_TRUE(input);
  FileTransaction transaction(*lock);
  auto writer = transaction.Stage(temp / "target", "");
  ASSERT_TRUE(writer);
  ASSERT_TRUE(CopyRange(input.Value(), 50, kTransferBufferSize + 30, *writer.Value()));
  ASSERT_TRUE(CopyRange(input.Value(), 0, 0, *writer.Value()));
  EXPECT_FALSE(CopyRange(input.Value(), source.size() - 10, 11, *writer.Value()));
  ASSERT_TRUE(transaction.Commit());
  EXPECT_EQ(testing::ReadFile(temp / "target"),
            Bytes(source.begin() + 50, source.begin() + 50 + kTransferBufferSize + 30));
}

}  // namespace
}  // namespace zorvane::platform
