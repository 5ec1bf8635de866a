#include <gtest/gtest.h>

#include <filesystem>

#include "archive/index_files.h"
#include "cli_fixture.h"

namespace zorvane::cli {
namespace {

using testing::NativePath;

namespace fs = std::filesystem;

constexpr std::size_t kPaletteCheck = 5;  // the lines that say the internal palettes are missing

// Arguments that cannot be parsed stop before anything runs: the reason, then the usage.
TEST_F(CliFixture, WrongArgumentsAreAUsageErrorThatTouchesNothing) {
  // Each row: the arguments ('' for an empty one), then after '>' the reason they are refused
  // for, unless that is "wrong arguments for" the command.
  std::istringstream rows(
      ">no command given|--data>unknown option or missing value: --data|"
      "--data '' list>unknown option or missing value: --data|"
      "--program-dir '' list>unknown option or missing value: --program-dir|"
      "--verbose list>unknown option or missing value: --verbose|lst>unknown command: lst|"
      "list SHP|list all shp|check all|palettes now|extract|extract shp|extract all --all|"
      "extract SHP X|extract shp --all X|extract shp X --all|extract shp ''|insert|insert ''|"
      "insert PANELS.SHP ''|sets|sets shp|sets icons tiles|repack icons|repack ICONS X|"
      "repack tiles ''|repack icons --all X|repack icons X --all|extract-units x|insert-units|"
      "insert-units a b|insert-units ''|render shp X|render pal X --png f|render shp --png f|"
      "render shp X --zoom 17 --png f|render shp X --frame x --png f|render shp X --png f --png g|"
      "extract shp X --format|extract shp --format gif X|extract --format png shp X --format bmp|"
      "--threads 0 list>unknown option or missing value: --threads|"
      "--threads 65 list>unknown option or missing value: --threads|"
      "--threads +2 list>unknown option or missing value: --threads|"
      "--threads list>unknown option or missing value: --threads");
  const auto before = testing::SnapshotFolder(data.Path());
  for (std::string row; std::getline(rows, row, '|');) {
    const std::size_t mark = row.find('>');
    const std::string text = row.substr(0, mark);
    const std::string reason = mark == std::string::npos
                                   ? "wrong arguments for " + row.substr(0, row.find(' '))
                                   : row.substr(mark + 1);
    Lines args;
    std::istringstream words(text);
    for (std::string word; words >> word;) args.push_back(word == "''" ? "" : word);
    EXPECT_EQ(Run(args), kExitUsage) << text;
    EXPECT_TRUE(err.str().starts_with("zorvane-cli: " + reason +
                                      "\nusage: zorvane-cli [--data DIR] [--program-dir DIR] "
                                      "[--quiet] [--threads N] COMMAND [ARG...]\n"))
        << err.str();
    EXPECT_EQ(out.str(), "") << text;
  }
  for (const char* usage : {"  extract shp|til|pal NAME... | --all [--format bmp|png|sheet]\n",
                            "  insert-units FOLDER\n"}) {
    EXPECT_NE(err.str().find(usage), std::string::npos) << usage;
  }
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  // Asked for, the usage goes to the standard output; so does the version.
  for (const char* help : {"--help", "-h"}) {
    EXPECT_EQ(Run({help}), kExitCompleted);
    EXPECT_TRUE(out.str().starts_with("usage: zorvane-cli ")) << out.str();
    EXPECT_NE(out.str().find("\n  repack icons|tiles SET... | --all\n"), std::string::npos);
  }
  EXPECT_EQ(Run({"--version"}), kExitCompleted);
  EXPECT_EQ(out.str(), "zorvane-cli 2.4.0\n");
}

TEST_F(CliFixture, ListPrintsTheHeaderAndTheRowsOfTheChosenArchive) {
  const std::size_t all =
      archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records.size();
  const std::tuple<Lines, std::size_t, std::string> cases[] = {
      {{"list"}, all, "STRINGS     TXT.PFP"},
      {{"list", "all"}, all, "STRINGS     TXT.PFP"},
      {{"list", "shp"}, 18, "MAINMENU    SHP     .PFP"},
      {{"list", "til"}, 12, "T_CLR_DD    TIL     .PFP"},
      {{"list", "pal"}, 15, "DAY         PAL     .PFP"}};
  for (const auto& [args, rows, first] : cases) {
    ASSERT_EQ(Run(args), kExitCompleted);
    ASSERT_EQ(OutLines().size(), rows + 1) << args.back();
    EXPECT_EQ(OutLines()[0], "Filename    Located in    Offset in *.PFP  FileLength");
    EXPECT_TRUE(OutLines()[1].starts_with(first)) << out.str();
  }
  EXPECT_TRUE(OutLines().back().starts_with("TURN06J     PAL     .PFP"));
  // The settings file names the DATA folder when --data does not.
  testing::WriteFile(program / "Zorvane.ini", "PFP-path = " + data.Path() + "\r\n");
  EXPECT_EQ(RunWith({"--program-dir", program.Path(), "list", "shp"}), kExitCompleted);
  EXPECT_EQ(OutLines().size(), 19u);
}

TEST_F(CliFixture, AStartUpThatFailsIsPrintedAndRefused) {
  testing::TempFolder empty;
  EXPECT_EQ(RunWith({"--data", empty.Path(), "--program-dir", program.Path(), "list"}),
            kExitRefused);
  // The messages of the start-up's two listings and EXT.IDX, then the empty list.
  EXPECT_EQ(OutLines(3), Lines{"Filename    Located in    Offset in *.PFP  FileLength"});
  // Without settings file nor --data, the folder dialog is cancelled and the program ends.
  EXPECT_EQ(RunWith({"--program-dir", program.Path(), "list"}), kExitRefused);
  EXPECT_EQ(OutLines(), (Lines{"Show me your PacGen DATA folder [cancelled]",
                               "You have to show the program where your PacGen DATA folder is "
                               "located.Otherwise the program cannot work.",
                               "[OK/Cancel] Cancel", "Terminate the program?", "[OK/Cancel] OK"}));
  EXPECT_EQ(err.str(), "zorvane-cli: no DATA folder is set up; name one with --data DIR\n");
  fs::remove(data / "EXT.IDX");  // the list is shown, but the start-up has failed
  EXPECT_EQ(Run({"list"}), kExitRefused);
  EXPECT_EQ(OutLines()[0], "Cannot locate " + (data / "EXT.IDX") +
                               " - you'll have to set up the "
                               "folders again.");
}

TEST_F(CliFixture, CheckPrintsEachProblemOnALine) {
  EXPECT_EQ(Run({"check"}), kExitCompleted);
  EXPECT_EQ(OutLines(), Lines{"No problems found in " + data.Path() + "."});
  for (const char* archive : {"TIL.PFP", "PAL.PFP"}) fs::remove(data / archive);
  EXPECT_EQ(Run({"check"}), kExitRefused);
  EXPECT_EQ(OutLines(), (Lines{"The archive " + data.Path() + "TIL.PFP does not exist.",
                               "The archive " + data.Path() + "PAL.PFP does not exist."}));
}

TEST_F(CliFixture, ExtractChecksThePalettesThenDoubleClicksTheRowOfEachName) {
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run({"extract", "shp", "MAINMENU", "mainmenu"}), kExitRefused);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(OutLines(kPaletteCheck),
            Lines{"SHP.PFP has no member named mainmenu. Nothing has been extracted."});
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "MAINMENU"}), kExitCompleted);
  const Lines lines = OutLines();
  ASSERT_EQ(lines.size(), kPaletteCheck + 2 * 13);
  EXPECT_EQ(lines[5], "The File: CURSORS");
  EXPECT_EQ(lines[18], "The File: MAINMENU");
  // The palettes: missing before, loaded once every palette member was extracted.
  EXPECT_EQ(Run({"palettes"}), kExitRefused);
  EXPECT_EQ(OutLines(), Lines(lines.begin(), lines.begin() + kPaletteCheck));
  ASSERT_EQ(Run({"extract", "pal", "--all"}), kExitCompleted);
  ASSERT_EQ(OutLines().size(), kPaletteCheck + 3 * 15);
  EXPECT_EQ(OutLines(kPaletteCheck + 2)[0],
            "DAY-palette for GIMP has been created as DAY.gpl in the same folder.");
  ASSERT_EQ(Run({"palettes"}), kExitCompleted);
  EXPECT_EQ(OutLines(), Lines{"The 15 internal palettes have been loaded from " + program.Path()});
  fs::remove(data / "PAL.PFP");
  EXPECT_EQ(Run({"extract", "pal", "DAY"}), kExitRefused);
}

TEST_F(CliFixture, InsertPutsEachFileInTurnIntoTheIndexTheLastOneWrote) {
  testing::TempFolder edits;
  testing::WriteFile(edits / "NOSUCH.SHP", "x");
  testing::WriteFile(edits / "PANELS.SHP", "panels");
  testing::WriteFile(edits / "CURSORS.SHP", std::string(300, 'c'));
  testing::WriteFile(edits / "BUTTONS.SHP", std::string(200, 'b'));
  const auto record = [this](const std::string& name) {
    for (const auto& r :
         archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records) {
      if (archive::ComparableName(r.Name) == name) return std::pair(r.Offset, r.Length);
    }
    return std::pair(-1, -1);
  };
  const std::int32_t buttons = record("BUTTONS").first;
  // A relative name is taken from the current folder and shown as a full path.
  const auto previous = fs::current_path();
  fs::current_path(edits.Path());
  const int code = Run({"insert", edits / "CURSORS.SHP", "BUTTONS.SHP"});
  fs::current_path(previous);
  EXPECT_EQ(code, kExitCompleted);
  // Each file's dialog line, then its message of 12 lines, CR LF printed as a line end.
  const Lines lines = OutLines();
  ASSERT_EQ(lines.size(), 2u * 13);
  for (const std::size_t at : {0u, 13u}) {
    const std::string chosen = edits / (at == 0 ? "CURSORS.SHP" : "BUTTONS.SHP");
    EXPECT_EQ(lines[at], "Select the SHP-file you want to insert. [" + chosen + "]");
    EXPECT_EQ(lines[at + 2], chosen);
  }
  EXPECT_EQ(record("BUTTONS"), std::pair(buttons, 200));
  EXPECT_EQ(record("CURSORS"), std::pair(buttons + 200, 300));
  // A refused file makes the exit code 1, and the files after it are still inserted.
  EXPECT_EQ(Run({"insert", edits / "NOSUCH.SHP", edits / "PANELS.SHP"}), kExitRefused);
  EXPECT_EQ(OutLines().size(), 2u + 13);
  EXPECT_EQ(record("PANELS").second, 6);
}

TEST_F(CliFixture, SetsListsAndRepackPacksEachNamedSet) {
  const std::string icons = data / "TOVRIN_PFP/ICONS/";
  EXPECT_EQ(Run({"sets", "tiles"}), kExitRefused);
  EXPECT_EQ(OutLines().at(1), data / "TOVRIN_PFP/TILES/BMPFILES");
  ASSERT_EQ(Run({"extract", "shp", "CURSORS", "MAINMENU", "BUTTONS"}), kExitCompleted);
  ASSERT_EQ(Run({"sets", "icons"}), kExitCompleted);
  EXPECT_EQ(
      OutLines(),
      (Lines{"Filename    Located in     Number of BMP-files", "BUTTONS     SHP.PFP            12",
             "CURSORS     SHP.PFP             6", "MAINMENU    SHP.PFP             1"}));
  for (const char* name : {"BUTTONS.SHP", "CURSORS.SHP", "MAINMENU.SHP"}) fs::remove(icons + name);
  // An unlisted set refuses the command before anything is packed.
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run({"repack", "icons", "BUTTONS", "CURSOR"}), kExitRefused);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(OutLines(kPaletteCheck), Lines{"There is no BMP set named CURSOR in " + icons +
                                           "BMPFILES. Nothing has been converted."});
  ASSERT_EQ(Run({"repack", "icons", "mainmenu", "CURSORS"}), kExitCompleted);
  ASSERT_EQ(OutLines(kPaletteCheck).size(), 2u * 6);
  EXPECT_EQ(OutLines(kPaletteCheck)[1], icons + "MAINMENU.SHP");
  EXPECT_EQ(OutLines(kPaletteCheck)[7], icons + "CURSORS.SHP");
  EXPECT_FALSE(fs::exists(icons + "BUTTONS.SHP"));
  // A refused set makes the exit code 1; the others are still packed.
  const std::string broken = icons + NativePath("BMPFILES/BUTTONS_00004.BMP");
  testing::WriteFile(broken, "bm, not a picture at all, but long enough for a header......");
  EXPECT_EQ(Run({"repack", "icons", "--all"}), kExitRefused);
  const Lines lines = OutLines(kPaletteCheck);
  ASSERT_EQ(lines.size(), 2u + 2 * 6);
  EXPECT_EQ(lines[0], "File: " + broken);
  EXPECT_EQ(lines[9], icons + "MAINMENU.SHP");
}

TEST_F(CliFixture, UnitDescriptionsAreExtractedAndInsertedFromAFolder) {
  const std::string dialog =
      "Show me Folder where you have placed the Extracts of the unitdescriptions [";
  ASSERT_EQ(Run({"extract-units"}), kExitCompleted);
  ASSERT_EQ(Run({"insert-units", data / "EXTRACTS"}), kExitCompleted);
  EXPECT_EQ(OutLines().size(), 14u);
  EXPECT_EQ(OutLines()[0], dialog + data / "EXTRACTS/UnitDescriptions.KRT]");
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Run({"insert-units", program.Path()}), kExitRefused);
  EXPECT_EQ(OutLines().size(), 4u);
  EXPECT_EQ(OutLines()[0], dialog + program.Path() + "UnitDescriptions.KRT]");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

// restore after a sprite insertion and then an insertion of unit descriptions: the later one's
// three files come back, the sprite's backups stay as they are.
TEST_F(CliFixture, RestorePutsBackTheLastOfTwoInsertions) {
  ASSERT_EQ(Run({"extract", "shp", "CURSORS"}), kExitCompleted);
  ASSERT_EQ(Run({"insert", data / "TOVRIN_PFP/ICONS/CURSORS.SHP"}), kExitCompleted);
  ASSERT_EQ(Run({"extract-units"}), kExitCompleted);
  // Edited, so that the insertion changes the text archive.
  testing::WriteFile(data / "EXTRACTS/UnitDescriptions.KRT",
                     testing::ReadText(data / "EXTRACTS/UnitDescriptions.KRT") + "Edited.\r\n");
  const auto before = testing::SnapshotFolder(data.Path());
  ASSERT_EQ(Run({"insert-units", data / "EXTRACTS"}), kExitCompleted);
  ASSERT_NE(testing::SnapshotFolder(data.Path()).at("TXT.PFP"), before.at("TXT.PFP"));
  EXPECT_EQ(Run({"restore"}), kExitCompleted);
  EXPECT_EQ(
      OutLines(),
      (Lines{"The previous version has been put back:", data.Path() + "TXT.PFP from OLD_TXT.PFP",
             data.Path() + "PFPDATA.IDX from OLD_PFPDATA.IDX",
             data.Path() + "EXT.IDX from OLD_EXT.IDX",
             "The versions it replaced are kept as the backups: Restore again "
             "puts them back."}));
  const auto restored = testing::SnapshotFolder(data.Path());
  for (const char* name : {"TXT.PFP", "PFPDATA.IDX", "EXT.IDX", "SHP_OLD.PFP", "PFPDATA_OLD.IDX"}) {
    EXPECT_EQ(restored.at(name), before.at(name)) << name;
  }
  EXPECT_EQ(Run({"check"}), kExitCompleted);
}

}  // namespace
}  // namespace zorvane::cli
