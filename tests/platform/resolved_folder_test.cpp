#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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

// A folder of many entries, some of them spellings of the same name in other cases, answers
// every name as resolving its path alone would, also after it handed out new names.
TEST(ResolvedFolder, AFolderOfThousandsOfEntriesAnswersAsResolvingEachPathWould) {
  testing::TempFolder temp;
  const std::string folder = temp / "BMPFILES/";
  std::filesystem::create_directory(folder);
  const auto name = [](const char* stem, int number) {
    char text[32];
    std::snprintf(text, sizeof text, "%s_%05d.BMP", stem, number);
    return std::string(text);
  };
  for (int i = 0; i < 1500; ++i) {
    testing::WriteFile(folder + name(i % 3 == 0 ? "tile" : "TILE", i), "x");
    // Every seventh name also exists in a second spelling.
    if (i % 7 == 0) testing::WriteFile(folder + name("Tile", i), "x");
  }
  ResolvedFolder resolved(temp / "bmpfiles");
  std::vector<std::string> handedOut;
  for (int i = 0; i < 1600; i += 3) {
    for (const char* stem : {"TILE", "tile", "Tile", "tILE"}) {
      const std::string wanted = name(stem, i);
      const std::string expected = ResolvePath(folder + wanted);
      ASSERT_EQ(resolved.PathOf(wanted), expected) << wanted;
      // A new name is created as handed out, as the worker that asked for it would.
      if (!std::filesystem::exists(expected)) {
        testing::WriteFile(expected, "y");
        handedOut.push_back(wanted);
      }
    }
  }
  // The names beyond the listing were handed out once, in the first spelling asked for.
  EXPECT_EQ(handedOut.size(), 34u);
  EXPECT_EQ(resolved.PathOf("tile_01599.bmp"), folder + "TILE_01599.BMP");
}

}  // namespace
}  // namespace zorvane::platform
