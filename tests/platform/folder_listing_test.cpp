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

TEST(Wildcard, MatchesWithoutRegardToCase) {
  for (const WildcardCase& c : {WildcardCase{"UNITICON_00000.BMP", "*.BMP", true},
                                {"uniticon_00000.bmp", "*.BMP", true},
                                {"UNITICONS_00000.BMP", "UNITICON*.BMP", true},
                                {"UNITICON_00000.BMPX", "*.BMP", false},
                                {"A.BMP", "?.BMP", true},
                                {"AB.BMP", "?.BMP", false},
                                {"", "*", true},
                                {"", "?", false},
                                {"aXbXc", "a*b*c", true},
                                {"aXbXd", "a*b*c", false}}) {
    EXPECT_EQ(MatchesWildcard(c.Name, c.Pattern), c.Matches) << c.Name << " ~ " << c.Pattern;
  }
}

// Files only (links count as what they point to), hidden ones left out, in ascending order of
// name without regard to case; no folder lists nothing rather than the root.
TEST(ListFiles, ListsMatchingFilesInAscendingOrderIgnoringCase) {
  testing::TempFolder temp;
  for (const char* name :
       {"b_00001.BMP", "B_00000.bmp", "a_00000.BMP", "c.txt", "c_00000.BMP", "C_00000.BMP.BMP"}) {
    testing::WriteFile(temp / name, "x");
  }
  std::filesystem::create_directories(temp / "folder.BMP");
  testing::WriteFile(temp / ".B_00002.BMP", "hidden");
  std::vector<std::string> expected{"a_00000.BMP", "B_00000.bmp", "b_00001.BMP", "c_00000.BMP",
                                    "C_00000.BMP.BMP"};
#ifndef _WIN32  // Windows makes links only with a privilege that a test cannot count on
  std::filesystem::create_symlink(temp / "a_00000.BMP", temp / "D_00000.BMP");
  std::filesystem::create_directory_symlink(temp / "folder.BMP", temp / "E_00000.BMP");
  std::filesystem::create_symlink(temp / "gone", temp / "F_00000.BMP");
  expected.push_back("D_00000.BMP");
#endif
  EXPECT_EQ(ListFiles(temp.Path(), "*.BMP"), expected);
  EXPECT_EQ(ListFiles(temp.Path(), "b*.bmp"),
            (std::vector<std::string>{"B_00000.bmp", "b_00001.BMP"}));
  EXPECT_TRUE(ListFiles(temp / "missing", "*.*").empty());
  EXPECT_TRUE(ListFiles("", "*.BMP").empty());
}

}  // namespace
}  // namespace zorvane::platform
