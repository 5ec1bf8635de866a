#include <gtest/gtest.h>

#include <filesystem>

#include "platform/paths.h"
#include "platform/resolved_folder.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::platform {
namespace {

class ResolvedFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(temp / "Bmps");
    for (const char* name :
         {"a_00000.bmp", "B_00001.BMP", "b_00001.bmp", "C_00002.BMP", "c_00002.BMP"}) {
      testing::WriteFile(temp / "Bmps/" + name, "x");
    }
  }
  testing::TempFolder temp;
};

// Whatever the listing answers must be what resolving the path on its own answers.
TEST_F(ResolvedFolderTest, AnswersAsResolvingEachPathWould) {
  ResolvedFolder folder(temp / "BMPS");
  EXPECT_EQ(folder.Path(), temp / "Bmps/");
  for (const char* name : {"A_00000.BMP", "b_00001.BMP", "C_00002.BMP", "c_00002.bmp", "D.BMP"}) {
    EXPECT_EQ(folder.PathOf(name), ResolvePath(temp / "BMPS/" + name)) << name;
  }
}

TEST_F(ResolvedFolderTest, ANewNameAnswersForItsOtherSpellingsAfterwards) {
  ResolvedFolder folder(temp / "Bmps");
  EXPECT_EQ(folder.PathOf("New_00009.BMP"), temp / "Bmps/New_00009.BMP");
  EXPECT_EQ(folder.PathOf("NEW_00009.BMP"), temp / "Bmps/New_00009.BMP");
}

TEST(ResolvedFolder, AFolderThatDoesNotExistKeepsTheNamesGiven) {
  testing::TempFolder temp;
  ResolvedFolder folder(temp / "MISSING");
  EXPECT_EQ(folder.PathOf("X.BMP"), temp / "MISSING/X.BMP");
}

}  // namespace
}  // namespace zorvane::platform
