#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

class RepackCommandTest : public CliFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--data", data.Path(), "--program-dir", program.Path()});
    return RunWith(args);
  }

  // The sprite files of a folder below TOVRIN_PFP, by name.
  std::map<std::string, testing::Bytes> Sprites(const std::string& folder) const {
    std::map<std::string, testing::Bytes> sprites;
    for (const auto& [name, bytes] : testing::SnapshotFolder(data / ("TOVRIN_PFP/" + folder))) {
      if (name.ends_with(".SHP")) sprites[name] = bytes;
    }
    return sprites;
  }

  void RemoveSprites(const std::string& folder) const {
    for (const auto& [name, bytes] : Sprites(folder)) {
      std::filesystem::remove(data / ("TOVRIN_PFP/" + folder + "/" + name));
    }
  }

  testing::TempFolder data;
  testing::TempFolder program;
};

TEST_F(RepackCommandTest, SetsWithoutAFolderPrintsTheMessage) {
  EXPECT_EQ(Run({"sets", "tiles"}), kExitRefused);
  EXPECT_EQ(OutLines(),
            (std::vector<std::string>{"The Folder: ", data.Path() + "TOVRIN_PFP/TILES/BMPFILES",
                                      "Does not exist. No Files ready for conversion."}));
}

TEST_F(RepackCommandTest, SetsPrintsTheHeaderAndARowPerSet) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "BUTTONS"}), kExitCompleted);
  ASSERT_EQ(Run({"sets", "icons"}), kExitCompleted);
  EXPECT_EQ(OutLines(), (std::vector<std::string>{"Filename    Located in     Number of BMP-files",
                                                  "BUTTONS     SHP.PFP            12",
                                                  "CURSORS     SHP.PFP             6"}));
}

TEST_F(RepackCommandTest, EachNamedSetIsPackedIntoTheMemberItCameFrom) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "MAINMENU"}), kExitCompleted);
  const auto extracted = Sprites("ICONS");
  RemoveSprites("ICONS");
  ASSERT_EQ(Run({"repack", "icons", "mainmenu", "CURSORS"}), kExitCompleted);
  EXPECT_EQ(Sprites("ICONS"), extracted);
  const auto lines = OutLines();
  ASSERT_EQ(lines.size(), 5u + 2 * 6);  // the palette check, then two messages
  const std::string icons = data.Path() + "TOVRIN_PFP/ICONS/";
  EXPECT_EQ(lines[5], "The files has been converted and saved as: ");
  EXPECT_EQ(lines[6], icons + "MAINMENU.SHP");
  EXPECT_EQ(lines[9], "The file " + icons + "MAINMENU.SHP");
  EXPECT_EQ(lines[12], icons + "CURSORS.SHP");
  EXPECT_EQ(err.str(), "");
}

TEST_F(RepackCommandTest, AllTileSetsArePacked) {
  ASSERT_EQ(Run({"extract", "til", "--all"}), kExitCompleted);
  const auto extracted = Sprites("TILES");
  ASSERT_EQ(extracted.size(), 12u);
  RemoveSprites("TILES");
  ASSERT_EQ(Run({"repack", "tiles", "--all"}), kExitCompleted);
  EXPECT_EQ(Sprites("TILES"), extracted);
}

TEST_F(RepackCommandTest, AnUnlistedSetRefusesTheCommandBeforeAnythingIsPacked) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS"}), kExitCompleted);
  RemoveSprites("ICONS");
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run({"repack", "icons", "CURSORS", "CURSOR"}), kExitRefused);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(OutLines().back(), "There is no BMP set named CURSOR in " + data.Path() +
                                   "TOVRIN_PFP/ICONS/BMPFILES. Nothing has been converted.");
}

TEST_F(RepackCommandTest, ARefusedSetMakesTheExitCodeOne) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "BUTTONS"}), kExitCompleted);
  const std::string broken = data / "TOVRIN_PFP/ICONS/BMPFILES/BUTTONS_00004.BMP";
  testing::WriteFile(broken, "bm, not a picture at all, but long enough for a header......");
  EXPECT_EQ(Run({"repack", "icons", "--all"}), kExitRefused);
  const auto lines = OutLines();
  ASSERT_EQ(lines.size(), 5u + 2 + 6);
  EXPECT_EQ(lines[5], "File: " + broken);
  EXPECT_EQ(lines[6], "is NOT a 256 color, uncompressed  BMP file. Conversion aborted.");
  EXPECT_EQ(lines[8], data.Path() + "TOVRIN_PFP/ICONS/CURSORS.SHP");
}

class RepackUsage : public RepackCommandTest,
                    public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(RepackUsage, WrongArgumentsAreAUsageErrorThatTouchesNothing) {
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run(GetParam()), kExitUsage);
  EXPECT_NE(err.str().find("repack icons|tiles SET... | --all"), std::string::npos);
  EXPECT_NE(err.str().find("sets icons|tiles"), std::string::npos);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RepackUsage,
    ::testing::Values(std::vector<std::string>{"sets"}, std::vector<std::string>{"sets", "shp"},
                      std::vector<std::string>{"sets", "icons", "tiles"},
                      std::vector<std::string>{"repack", "icons"},
                      std::vector<std::string>{"repack", "ICONS", "X"},
                      std::vector<std::string>{"repack", "tiles", ""},
                      std::vector<std::string>{"repack", "icons", "--all", "X"},
                      std::vector<std::string>{"repack", "icons", "X", "--all"}));

}  // namespace
}  // namespace zorvane::cli
