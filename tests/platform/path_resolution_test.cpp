#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(ResolvePath, FindsEveryPartWithoutRegardToCaseAndKeepsTheSpellingOfNewParts) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "Data/tovrin_pfp/Icons");
  WriteFile(temp / "Data/tovrin_pfp/Icons/uniticon.shp", "x");
  std::vector<std::pair<std::string, std::string>> cases{
      {"DATA/TOVRIN_PFP/ICONS/UNITICON.SHP", "Data/tovrin_pfp/Icons/uniticon.shp"},
      {"DATA/EXTRACTS/UnitIDX.KRT", "Data/EXTRACTS/UnitIDX.KRT"},
      {"DATA/", "Data/"}};
#ifndef _WIN32  // where one folder can hold names that differ in case only
  WriteFile(temp / "Name.bmp", "a");
  WriteFile(temp / "NAME.BMP", "b");
  // The exact spelling wins; else the first in byte order, on every run.
  cases.insert(cases.end(),
               {{"NAME.BMP", "NAME.BMP"}, {"Name.bmp", "Name.bmp"}, {"name.BMP", "NAME.BMP"}});
#endif
  for (const auto& [asked, found] : cases) EXPECT_EQ(ResolvePath(temp / asked), temp / found);
  EXPECT_TRUE(FileExists(temp / "data/TOVRIN_pfp/icons/UNITICON.SHP"));
  EXPECT_FALSE(FolderExists(temp / "data/TOVRIN_pfp/icons/UNITICON.SHP"));
  EXPECT_TRUE(FolderExists(temp / "DATA/TOVRIN_PFP/"));
  EXPECT_FALSE(FileExists(temp / "DATA/TOVRIN_PFP/"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FolderExists(""));
}

TEST(FileSystem, CreateFolderUsesTheFolderThatExistsInAnotherCase) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "extracts");
  ASSERT_TRUE(CreateFolder(temp / "EXTRACTS"));
  ASSERT_TRUE(CreateFolder(temp / "EXTRACTS/"));
  EXPECT_EQ(testing::SnapshotFolder(temp.Path()).size(), 1u);
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
  EXPECT_EQ(file.Value().ReadSomeAt(8, tooMuch).Value(), 2u);
  EXPECT_EQ(ReadWholeFile(temp / "missing").Reason(), "No such file or directory");
  // The system would read a name only up to a NUL byte, and find the archive.
  const std::string cut = temp / std::string("archive\0/EXT.IDX", 16);
  EXPECT_FALSE(FileExists(cut) || FileLength(cut) || InputFile::Open(cut));
  EXPECT_TRUE(ListFiles(temp / std::string("\0", 1), "*").empty());
}

// Paths longer than Windows takes without its long-path prefix: 300 characters and more.
TEST(FileSystem, LongPathsAreMadeWrittenAndRead) {
  TempFolder temp;
  std::string folder = temp.Path();
  while (folder.size() < 300) folder += std::string(40, 'f') + kSeparator;
  ASSERT_TRUE(CreateFolderWithParents(folder));
  EXPECT_TRUE(FolderExists(folder));
  WriteFile(temp / "source", "the bytes");
  ASSERT_TRUE(LinkOrCopyResolvedFile(temp / "source", folder + "LINKED.BMP", false));
  ASSERT_TRUE(RenameResolvedFile(folder + "LINKED.BMP", folder + "NAME.BMP"));
  EXPECT_EQ(ListFiles(folder, "*.BMP"), std::vector<std::string>{"NAME.BMP"});
  const auto read = ReadWholeFile(folder + "name.bmp");
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(read.Value().begin(), read.Value().end()), "the bytes");
}

}  // namespace
}  // namespace zorvane::platform
