#include <gtest/gtest.h>

#include <filesystem>

#include "platform/folder_listing.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

struct WildcardCase {
  const char* Name;
  const char* Pattern;
  bool Matches;
};

class Wildcard : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcard, MatchesWithoutRegardToCase) {
  EXPECT_EQ(MatchesWildcard(GetParam().Name, GetParam().Pattern), GetParam().Matches)
      << GetParam().Name << " ~ " << GetParam().Pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcard,
    ::testing::Values(WildcardCase{"UNITICON_00000.BMP", "*.BMP", true},
                      WildcardCase{"uniticon_00000.bmp", "*.BMP", true},
                      WildcardCase{"UNITICON_00000.BMP", "UNITICON*.BMP", true},
                      WildcardCase{"UNITICONS_00000.BMP", "UNITICON*.BMP", true},
                      WildcardCase{"UNITICON_00000.BMPX", "*.BMP", false},
                      WildcardCase{"UNITICON.SHP", "*.BMP", false},
                      WildcardCase{"A.BMP", "?.BMP", true}, WildcardCase{"AB.BMP", "?.BMP", false},
                      WildcardCase{"anything", "*", true}, WildcardCase{"", "*", true},
                      WildcardCase{"", "?", false}, WildcardCase{"ab", "a*b*", true},
                      WildcardCase{"aXbXc", "a*b*c", true}, WildcardCase{"aXbXd", "a*b*c", false}));

TEST(ListFiles, ListsMatchingFilesInAscendingOrderIgnoringCase) {
  testing::TempFolder temp;
  for (const char* name : {"b_00001.BMP", "B_00000.bmp", "a_00000.BMP", "c.txt", "C_00000.BMP"}) {
    testing::WriteFile(temp / name, "x");
  }
  std::filesystem::create_directories(temp / "folder.BMP");
  testing::WriteFile(temp / ".B_00002.BMP.zorvane-1-2-3", "temporary");

  EXPECT_EQ(ListFiles(temp.Path(), "*.BMP"),
            (std::vector<std::string>{"a_00000.BMP", "B_00000.bmp", "b_00001.BMP", "C_00000.BMP"}));
  EXPECT_EQ(ListFiles(temp.Path(), "b*.bmp"),
            (std::vector<std::string>{"B_00000.bmp", "b_00001.BMP"}));
  EXPECT_TRUE(ListFiles(temp / "missing", "*.*").empty());
}

TEST(ListFiles, LinksCountAsWhatTheyPointTo) {
  testing::TempFolder temp;
  testing::WriteFile(temp / "A_00000.BMP", "x");
  std::filesystem::create_directories(temp / "sub.BMP");
  std::filesystem::create_symlink(temp / "A_00000.BMP", temp / "B_00000.BMP");
  std::filesystem::create_directory_symlink(temp / "sub.BMP", temp / "C_00000.BMP");
  std::filesystem::create_symlink(temp / "gone", temp / "D_00000.BMP");
  EXPECT_EQ(ListFiles(temp.Path(), "*.BMP"),
            (std::vector<std::string>{"A_00000.BMP", "B_00000.BMP"}));
}

TEST(ListFiles, NoFolderListsNothingRatherThanTheRoot) {
  EXPECT_TRUE(ListFiles("", "*").empty());
  FileListBox box{"", "*.BMP", {"LEFT_00000.BMP"}};
  box.Refresh();
  EXPECT_TRUE(box.Names.empty());
}

TEST(FileListBox, RefreshReadsTheFolderAgain) {
  testing::TempFolder temp;
  FileListBox list{temp.Path(), "*.BMP", {}};
  list.Refresh();
  EXPECT_EQ(list.ListCount(), 0);
  testing::WriteFile(temp / "X_00000.BMP", "x");
  list.Refresh();
  EXPECT_EQ(list.ListCount(), 1);
}

}  // namespace
}  // namespace zorvane::platform
