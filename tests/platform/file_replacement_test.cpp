#include <gtest/gtest.h>

#include <filesystem>

#include "platform/copy_range.h"
#include "platform/fault_injection.h"
#include "platform/file_replacement.h"
#include "platform/resolved_folder.h"
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
    FaultInjection::Reset();
    WriteFile(temp / "PFPDATA.IDX", "index v2");
    WriteFile(temp / "PFPDATA_OLD.IDX", "index v1");
    WriteFile(temp / "shp.pfp", "archive v2");
    WriteFile(temp / "other.pfp", "untouched");
  }
  void TearDown() override { FaultInjection::Reset(); }

  // Replaces the index and the archive; the archive has no backup yet.
  Status ReplaceBoth() {
    FileReplacement replacement;
    auto index = replacement.Stage(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX");
    if (!index) return Status::Failure(index.Reason());
    if (auto written = index.Value()->Write(std::string_view("index v3")); !written) return written;
    auto archive = replacement.Stage(temp / "SHP.PFP", temp / "SHP_OLD.PFP");
    if (!archive) return Status::Failure(archive.Reason());
    if (auto written = archive.Value()->Write(std::string_view("archive v3")); !written) {
      return written;
    }
    return replacement.Commit();
  }

  testing::TempFolder temp;
};

TEST_F(FileReplacementTest, NewFilesTakeThePlaceOfTheCurrentOnesWhichBecomeBackups) {
  ASSERT_TRUE(ReplaceBoth());
  const std::map<std::string, Bytes> expected{{"PFPDATA.IDX", testing::BytesOf("index v3")},
                                              {"PFPDATA_OLD.IDX", testing::BytesOf("index v2")},
                                              {"shp.pfp", testing::BytesOf("archive v3")},
                                              {"SHP_OLD.PFP", testing::BytesOf("archive v2")},
                                              {"other.pfp", testing::BytesOf("untouched")}};
  EXPECT_EQ(SnapshotFolder(temp.Path()), expected);
}

TEST_F(FileReplacementTest, WithoutACurrentVersionTheOlderBackupIsKept) {
  std::filesystem::remove(temp / "PFPDATA.IDX");
  FileReplacement replacement;
  auto index = replacement.Stage(temp / "PFPDATA.IDX", temp / "PFPDATA_OLD.IDX");
  ASSERT_TRUE(index);
  ASSERT_TRUE(index.Value()->Write(std::string_view("index v3")));
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(ReadText(temp / "PFPDATA.IDX"), "index v3");
  EXPECT_EQ(ReadText(temp / "PFPDATA_OLD.IDX"), "index v1");
}

// A run that crashed while an older backup was set aside leaves that file behind; the next
// run, whose own count starts over, must neither trip over it nor remove it.
TEST_F(FileReplacementTest, FilesSetAsideByAnEarlierRunDoNotStopTheNextOne) {
  for (const char* leftover :
       {".PFPDATA_OLD.IDX.zorvane-aside-1", ".PFPDATA_OLD.IDX.zorvane-aside-2",
        ".SHP_OLD.PFP.zorvane-aside-1", ".shp.pfp.zorvane-aside-1"}) {
    WriteFile(temp / leftover, "left by a crash");
  }
  auto expected = SnapshotFolder(temp.Path());
  expected["PFPDATA.IDX"] = testing::BytesOf("index v3");
  expected["PFPDATA_OLD.IDX"] = testing::BytesOf("index v2");
  expected["shp.pfp"] = testing::BytesOf("archive v3");
  expected["SHP_OLD.PFP"] = testing::BytesOf("archive v2");

  ASSERT_TRUE(ReplaceBoth());
  EXPECT_EQ(SnapshotFolder(temp.Path()), expected);
}

TEST_F(FileReplacementTest, AnUncommittedReplacementChangesNothing) {
  const auto before = SnapshotFolder(temp.Path());
  {
    FileReplacement replacement;
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
    FileReplacement replacement;
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
    return replacement.Commit();
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
                                         FileOperation::Flush, FileOperation::Rename),
                       ::testing::Values(Staging::Bytes, Staging::ResolvedOutput)));

// Content staged through a writer fails with the reason the platform gave, so that callers can
// name the file in their own words; nothing is left behind.
TEST_F(FileReplacementTest, AFailureWhileStagingGivesThePlatformsReason) {
  const auto before = SnapshotFolder(temp.Path());
  for (FileOperation operation :
       {FileOperation::Create, FileOperation::Write, FileOperation::Flush}) {
    FaultInjection::Reset();
    FaultInjection::FailAt(operation, 1, "Disk full");
    FileReplacement replacement;
    const Status staged = replacement.StageWritten(
        temp / "PFPDATA.IDX", "",
        [](SafeFileWriter& out) { return out.Write(std::string_view("index v3")); });
    ASSERT_FALSE(staged);
    EXPECT_EQ(staged.Reason(), "Disk full");
    EXPECT_EQ(replacement.StagedCount(), 0u);
    EXPECT_EQ(SnapshotFolder(temp.Path()), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingStep,
                         ::testing::Values(FileOperation::Create, FileOperation::Write,
                                           FileOperation::Flush, FileOperation::Rename));

TEST(CopyRange, CopiesExactlyTheRangeThroughAFixedBuffer) {
  testing::TempFolder temp;
  Bytes source(kTransferBufferSize * 2 + 100);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7);
  WriteFile(temp / "source", source);
  auto input = InputFile::Open(temp / "source");
  ASSERT_TRUE(input);
  auto writer = SafeFileWriter::Create(temp / "target");
  ASSERT_TRUE(writer);
  ASSERT_TRUE(CopyRange(input.Value(), 50, kTransferBufferSize + 30, writer.Value()));
  ASSERT_TRUE(CopyRange(input.Value(), 0, 0, writer.Value()));
  EXPECT_FALSE(CopyRange(input.Value(), source.size() - 10, 11, writer.Value()));
  ASSERT_TRUE(writer.Value().Commit());
  EXPECT_EQ(testing::ReadFile(temp / "target"),
            Bytes(source.begin() + 50, source.begin() + 50 + kTransferBufferSize + 30));
}

}  // namespace
}  // namespace zorvane::platform
