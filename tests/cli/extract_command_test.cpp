#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

const char* const kMissingPalettes[] = {
    "The program need to generate internal palettes from your PacGen installation,",
    "to be able to work correct with icons and Tiles.",
    "To make these palettes, click the 'Toggle Details' button,",
    "Click the 'PAL.PFP' option and doubleclick each of the palettefiles in the list.",
    "Doing this you will get palettes for Photoshop and PaintShopPro generated, and this message "
    "will no longer appear."};

class ExtractCommandTest : public CliFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", data.Path(), "--program-dir", program.Path()});
    return RunWith(args);
  }

  testing::TempFolder data;
  testing::TempFolder program;
};

TEST_F(ExtractCommandTest, ChecksThePalettesThenExtractsEachNamedMember) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "MAINMENU"}), kExitCompleted);
  const auto lines = OutLines();
  ASSERT_EQ(lines.size(), 5u + 2 * 13);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lines[i], kMissingPalettes[i]);
  EXPECT_EQ(lines[5], "The File: CURSORS");
  EXPECT_EQ(lines[17], "Total number of BMPs in CURSORS.SHP is 6");
  EXPECT_EQ(lines[18], "The File: MAINMENU");
  EXPECT_EQ(lines[30], "Total number of BMPs in MAINMENU.SHP is 1");
  EXPECT_TRUE(std::filesystem::exists(data / "TOVRIN_PFP/ICONS/BMPFILES/CURSORS_00005.BMP"));
  EXPECT_EQ(err.str(), "");
}

TEST_F(ExtractCommandTest, AllPalettesThenThePaletteCheckPasses) {
  EXPECT_EQ(Run({"palettes"}), kExitRefused);
  EXPECT_EQ(OutLines().size(), 5u);
  ASSERT_EQ(Run({"extract", "pal", "--all"}), kExitCompleted);
  EXPECT_EQ(OutLines().size(), 5u + 2 * 15);
  EXPECT_EQ(OutLines().back(), data.Path() + "TOVRIN_PFP/PALETTES/");
  ASSERT_EQ(Run({"palettes"}), kExitCompleted);
  EXPECT_EQ(OutLines(), std::vector<std::string>{"The 15 internal palettes have been loaded from " +
                                                 program.Path()});
}

TEST_F(ExtractCommandTest, AllTilesAreExtracted) {
  ASSERT_EQ(Run({"extract", "til", "--all"}), kExitCompleted);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data / "TOVRIN_PFP/TILES/BMPFILES"),
                          std::filesystem::directory_iterator()),
            12 * 40);
}

TEST_F(ExtractCommandTest, AnUnlistedNameRefusesTheCommandBeforeAnythingIsExtracted) {
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run({"extract", "shp", "MAINMENU", "mainmenu"}), kExitRefused);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(OutLines().back(), "SHP.PFP has no member named mainmenu. Nothing has been extracted.");
}

TEST_F(ExtractCommandTest, ARefusedMemberMakesTheExitCodeOne) {
  std::filesystem::remove(data / "PAL.PFP");
  EXPECT_EQ(Run({"extract", "pal", "DAY"}), kExitRefused);
  EXPECT_EQ(OutLines().back(),
            "This file MUST be in the DATA folder of your game. Check your "
            "settings for this program.");
}

class ExtractUsage : public ExtractCommandTest,
                     public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(ExtractUsage, WrongArgumentsAreAUsageErrorThatTouchesNothing) {
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run(GetParam()), kExitUsage);
  EXPECT_NE(err.str().find("extract shp|til|pal NAME... | --all"), std::string::npos);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ExtractUsage,
                         ::testing::Values(std::vector<std::string>{"extract"},
                                           std::vector<std::string>{"extract", "shp"},
                                           std::vector<std::string>{"extract", "all", "--all"},
                                           std::vector<std::string>{"extract", "SHP", "MAINMENU"},
                                           std::vector<std::string>{"extract", "shp", "--all", "X"},
                                           std::vector<std::string>{"extract", "shp", "X", "--all"},
                                           std::vector<std::string>{"extract", "shp", ""},
                                           std::vector<std::string>{"palettes", "now"}));

}  // namespace
}  // namespace zorvane::cli
