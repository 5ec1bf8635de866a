#include <gtest/gtest.h>

#include <filesystem>

#include "platform/safe_file.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteFile;

std::size_t EntriesIn(const std::string& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(SafeFileWriter, ReplacesTheTargetOnlyOnCommit) {
  TempFolder temp;
  WriteFile(temp / "uniticon.shp", "old content");
  auto writer = SafeFileWriter::Create(temp / "UNITICON.SHP");
  ASSERT_TRUE(writer);
  ASSERT_TRUE(writer.Value().Write(std::string_view("new ")));
  ASSERT_TRUE(writer.Value().Write(std::string_view("content")));
  EXPECT_EQ(ReadText(temp / "uniticon.shp"), "old content");
  EXPECT_EQ(EntriesIn(temp.Path()), 2u);

  ASSERT_TRUE(writer.Value().Commit());
  // The existing spelling of the name is kept; no temporary file is left.
  EXPECT_EQ(ReadText(temp / "uniticon.shp"), "new content");
  EXPECT_EQ(EntriesIn(temp.Path()), 1u);
}

TEST(SafeFileWriter, AnAbandonedWriteLeavesNothingBehind) {
  TempFolder temp;
  WriteFile(temp / "MAINMENU.SHP", "kept");
  {
    auto writer = SafeFileWriter::Create(temp / "MAINMENU.SHP");
    ASSERT_TRUE(writer);
    ASSERT_TRUE(writer.Value().Write(std::string_view("half")));
  }
  EXPECT_EQ(ReadText(temp / "MAINMENU.SHP"), "kept");
  EXPECT_EQ(EntriesIn(temp.Path()), 1u);
}

TEST(SafeFileWriter, ReleaseHandsTheFlushedTemporaryFileToTheCaller) {
  TempFolder temp;
  auto writer = SafeFileWriter::Create(temp / "PFPDATA.IDX");
  ASSERT_TRUE(writer);
  ASSERT_TRUE(writer.Value().Write(std::string_view("index")));
  ASSERT_TRUE(writer.Value().Flush());
  const std::string temporary = writer.Value().Release();
  writer = SafeFileWriter::Create(temp / "other");  // the old writer is gone
  EXPECT_EQ(ReadText(temporary), "index");
  EXPECT_FALSE(std::filesystem::exists(temp / "PFPDATA.IDX"));
}

TEST(ReplaceFile, FailsWithAReasonWhenTheFolderIsMissing) {
  TempFolder temp;
  const Status written = ReplaceFile(temp / "missing/file", std::string_view("x"));
  ASSERT_FALSE(written);
  EXPECT_EQ(written.Reason(), "No such file or directory");
}

TEST(ReplaceFile, WritesExactlyTheBytesGiven) {
  TempFolder temp;
  const std::vector<std::uint8_t> bytes{0, 1, 2, 255, 13, 10, 0};
  ASSERT_TRUE(ReplaceFile(temp / "bytes", bytes));
  EXPECT_EQ(testing::ReadFile(temp / "bytes"), bytes);
}

}  // namespace
}  // namespace zorvane::platform
