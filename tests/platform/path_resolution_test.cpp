#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(ResolvePath, FindsEveryPartWithoutRegardToCase) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "Data/tovrin_pfp/Icons");
  WriteFile(temp / "Data/tovrin_pfp/Icons/uniticon.shp", "x");

  EXPECT_EQ(ResolvePath(temp / "DATA/TOVRIN_PFP/ICONS/UNITICON.SHP"),
            temp / "Data/tovrin_pfp/Icons/uniticon.shp");
  EXPECT_TRUE(FileExists(temp / "data/TOVRIN_pfp/icons/UNITICON.SHP"));
  EXPECT_TRUE(FolderExists(temp / "DATA/TOVRIN_PFP/"));
}

TEST(ResolvePath, KeepsTheGivenSpellingOfPartsThatDoNotExist) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "data");
  EXPECT_EQ(ResolvePath(temp / "DATA/EXTRACTS/UnitIDX.KRT"), temp / "data/EXTRACTS/UnitIDX.KRT");
  EXPECT_EQ(ResolvePath(temp / "DATA/"), temp / "data/");
}

TEST(ResolvePath, PrefersTheExactSpellingWhenSeveralMatch) {
  TempFolder temp;
  WriteFile(temp / "Name.bmp", "a");
  WriteFile(temp / "NAME.BMP", "b");
  EXPECT_EQ(ResolvePath(temp / "NAME.BMP"), temp / "NAME.BMP");
  EXPECT_EQ(ResolvePath(temp / "Name.bmp"), temp / "Name.bmp");
  // Neither spelled exactly: the first in byte order, on every run.
  EXPECT_EQ(ResolvePath(temp / "name.BMP"), temp / "NAME.BMP");
}

TEST(FileSystem, CreateFolderUsesTheFolderThatExistsInAnotherCase) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "extracts");
  ASSERT_TRUE(CreateFolder(temp / "EXTRACTS"));
  ASSERT_TRUE(CreateFolder(temp / "EXTRACTS/"));
  int folders = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Path())) {
    ++folders;
  }
  EXPECT_EQ(folders, 1);
}

TEST(FileSystem, FileAndFolderTestsTellTheKindsApart) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "folder");
  WriteFile(temp / "file", "x");
  EXPECT_TRUE(FileExists(temp / "FILE"));
  EXPECT_FALSE(FolderExists(temp / "file"));
  EXPECT_TRUE(FolderExists(temp / "FOLDER"));
  EXPECT_FALSE(FileExists(temp / "folder"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FolderExists(""));
}

TEST(FileSystem, FailuresCarryTheSystemsReason) {
  TempFolder temp;
  const Status deleted = DeleteResolvedFile(temp / "missing");
  ASSERT_FALSE(deleted);
  EXPECT_EQ(deleted.Reason(), "No such file or directory");
  const auto read = ReadWholeFile(temp / "missing");
  ASSERT_FALSE(read);
  EXPECT_EQ(read.Reason(), "No such file or directory");
}

TEST(InputFile, ReadsRangesAndRefusesRangesPastTheEnd) {
  TempFolder temp;
  WriteFile(temp / "archive", "0123456789");
  auto file = InputFile::Open(temp / "ARCHIVE");
  ASSERT_TRUE(file);
  EXPECT_EQ(file.Value().Length(), 10u);
  std::vector<std::uint8_t> middle(3);
  ASSERT_TRUE(file.Value().ReadAt(4, middle));
  EXPECT_EQ(std::string(middle.begin(), middle.end()), "456");
  std::vector<std::uint8_t> tooMuch(4);
  EXPECT_FALSE(file.Value().ReadAt(8, tooMuch));
  auto some = file.Value().ReadSomeAt(8, tooMuch);
  ASSERT_TRUE(some);
  EXPECT_EQ(some.Value(), 2u);
}

TEST(Paths, FolderAndFileParts) {
  EXPECT_EQ(FolderPart("/game/DATA/PFPDATA.IDX"), "/game/DATA/");
  EXPECT_EQ(FolderPart("PFPDATA.IDX"), "");
  EXPECT_EQ(FileNamePart("/game/DATA/PFPDATA.IDX"), "PFPDATA.IDX");
  EXPECT_EQ(WithTrailingSeparator("/game/DATA"), "/game/DATA/");
  EXPECT_EQ(WithTrailingSeparator("/game/DATA/"), "/game/DATA/");
  EXPECT_EQ(NativeRelative("TOVRIN_PFP\\ICONS\\"), "TOVRIN_PFP/ICONS/");
}

}  // namespace
}  // namespace zorvane::platform
