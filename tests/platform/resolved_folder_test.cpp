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

std::string Numbered(const char* stem, int number) {
  char text[32];
  std::snprintf(text, sizeof text, "%s_%05d.BMP", stem, number);
  return text;
}

// A folder of many entries, some of them spellings of the same name in other cases, answers
// every name as resolving its path alone would, also after it handed out new names.
TEST(ResolvedFolder, AnswersAsResolvingEachPathWould) {
  testing::TempFolder temp;
  const std::string folder = temp / "BMPFILES" + kSeparator;
  std::filesystem::create_directory(folder);
  for (int i = 0; i < 1500; ++i) {
    testing::WriteFile(folder + Numbered(i % 3 == 0 ? "tile" : "TILE", i), "x");
    // Every seventh name also exists in a second spelling.
    if (i % 7 == 0) testing::WriteFile(folder + Numbered("Tile", i), "x");
  }
  ResolvedFolder resolved(temp / "bmpfiles");
  EXPECT_EQ(resolved.Path(), folder);
  std::vector<std::string> handedOut;
  for (int i = 0; i < 1600; i += 3) {
    for (const char* stem : {"TILE", "tile", "Tile", "tILE"}) {
      const std::string wanted = Numbered(stem, i);
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
  EXPECT_EQ(ResolvedFolder(temp / "MISSING").PathOf("X.BMP"),
            temp / "MISSING" + kSeparator + "X.BMP");
}

}  // namespace
}  // namespace zorvane::platform
