#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/extraction_events.h"
#include "app/main_window_events.h"
#include "app/row_dispatch.h"
#include "archive/index_files.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "sample/sample_palettes.h"
#include "sample/sample_pictures.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Event = platform::ScriptedUi::Event;

// The sample installation, started as the desktop program starts.
class ExtractionTest : public ::testing::Test {
 protected:
  ExtractionTest() : session(ui, program.Path()) {}

  void SetUp() override {
    ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
    ASSERT_TRUE(RunStartUp(session, {data.Path()}));
    ui.Clear();
  }

  // Selects the archive's option and double-clicks the row of the member.
  void DoubleClick(int option, const std::string& member) {
    ASSERT_TRUE(ClickOption(session, option));
    const auto& rows = session.Window.List1;
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& text) {
      return text.substr(0, 8) == (member + "        ").substr(0, 8);
    });
    ASSERT_NE(row, rows.end()) << member;
    session.Window.ListIndex = static_cast<int>(row - rows.begin());
    OnList1DoubleClick(session);
  }

  // The bytes of a member, found through PFPDATA.IDX and EXT.IDX without the tool's tables.
  Bytes MemberBytes(const std::string& archiveName, const std::string& member) const {
    const auto records = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records;
    const auto archives = archive::ParseArchiveIndex(testing::ReadFile(data / "EXT.IDX"));
    const Bytes archive = testing::ReadFile(data / (archiveName + ".PFP"));
    for (const auto& a : archives) {
      if (archive::ComparableName(a.Name) != archiveName) continue;
      for (std::size_t r = static_cast<std::size_t>(a.FirstMember);
           r < static_cast<std::size_t>(a.EndMember); ++r) {
        if (archive::ComparableName(records[r].Name) == member) {
          return Bytes(archive.begin() + records[r].Offset,
                       archive.begin() + records[r].Offset + records[r].Length);
        }
      }
    }
    ADD_FAILURE() << "no member " << member;
    return {};
  }

  std::vector<std::string> FilesIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(data / folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  void MakePalettes() {
    ASSERT_TRUE(ClickOption(session, 4));
    for (int row = 0; row < static_cast<int>(session.Window.List1.size()); ++row) {
      session.Window.ListIndex = row;
      OnList1DoubleClick(session);
    }
    ASSERT_TRUE(CheckPalettes(session));
    ui.Clear();
  }

  std::string Summary(const std::string& name, const std::string& folder, int count) const {
    const std::string extract = data.Path() + "TOVRIN_PFP/" + folder + "/";
    return "The File: " + name + "\r\n\r\nHas been extracted to:\r\n\r\n" + extract + name +
           ".SHP\r\n\r\nand converted to.\r\n\r\n" + extract + "BMPFILES/" + name +
           "_xxxxx.BMP\r\n\r\nWhere xxxxx is the iconnumber inside " + name +
           "\r\n\r\nTotal number of BMPs in " + name + ".SHP is " + std::to_string(count);
  }

  testing::TempFolder data;
  testing::TempFolder program;
  platform::ScriptedUi ui;
  Session session;
};

TEST_F(ExtractionTest, ASpriteMemberIsCopiedByteForByteAndConverted) {
  DoubleClick(2, "MAINMENU");
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/MAINMENU.SHP"),
            MemberBytes("SHP", "MAINMENU"));
  EXPECT_EQ(FilesIn("TOVRIN_PFP/ICONS/BMPFILES"), std::vector<std::string>{"MAINMENU_00000.BMP"});
  EXPECT_EQ(ui.Events(),
            (std::vector<Event>{{Event::Kind::Busy, ""},
                                {Event::Kind::Message, Summary("MAINMENU", "ICONS", 1)},
                                {Event::Kind::NotBusy, ""}}));
  EXPECT_TRUE(session.Extraction.Completed);
}

TEST_F(ExtractionTest, ScreensComeBackAsTheSamplePicturesWithTheirOwnPalette) {
  MakePalettes();
  DoubleClick(2, "MAINMENU");
  const Bytes bmp = testing::ReadFile(data / "TOVRIN_PFP/ICONS/BMPFILES/MAINMENU_00000.BMP");
  ASSERT_EQ(bmp.size(), 1078u + 640 * 480);
  const Bytes main = sample::SamplePalette(1);
  for (std::size_t i = 0; i < 256; ++i) {
    ASSERT_EQ(Bytes(bmp.begin() + 54 + 4 * i, bmp.begin() + 57 + 4 * i),
              Bytes(main.begin() + 4 * i, main.begin() + 4 * i + 3))
        << i;
    ASSERT_EQ(bmp[57 + 4 * i], 0) << i;
  }
  const sample::Picture picture = sample::Landscape(640, 480, 1);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      ASSERT_EQ(bmp[1078 + (479 - y) * 640 + x], picture.At(x, y)) << x << "," << y;
    }
  }
}

TEST_F(ExtractionTest, IconsComeBackWithTheirTransparentPixels) {
  DoubleClick(2, "UNITICON");
  const auto names = FilesIn("TOVRIN_PFP/ICONS/BMPFILES");
  ASSERT_EQ(names.size(), 48u);
  EXPECT_EQ(names[47], "UNITICON_00047.BMP");
  for (int n : {0, 17, 47}) {
    char name[64];
    std::snprintf(name, sizeof name, "TOVRIN_PFP/ICONS/BMPFILES/UNITICON_%05d.BMP", n);
    const Bytes bmp = testing::ReadFile(data / name);
    ASSERT_EQ(bmp.size(), 1078u + 32 * 32);
    // DAY: entry 213 is the pink of the transparent colour even before the palettes exist.
    EXPECT_EQ(Bytes(bmp.begin() + 54 + 4 * 213, bmp.begin() + 58 + 4 * 213),
              (Bytes{225, 225, 255, 0}));
    const sample::Picture icon = sample::UnitIcon(n);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        ASSERT_EQ(bmp[1078 + (31 - y) * 32 + x], icon.At(x, y)) << n << ":" << x << "," << y;
      }
    }
  }
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{Summary("UNITICON", "ICONS", 48)});
}

TEST_F(ExtractionTest, ATileMemberGoesToTheTilesFolder) {
  const std::string tile = sample::TileNames(1)[0];
  DoubleClick(3, tile);
  EXPECT_EQ(testing::ReadFile(data / ("TOVRIN_PFP/TILES/" + tile + ".SHP")),
            MemberBytes("TIL", tile));
  EXPECT_EQ(FilesIn("TOVRIN_PFP/TILES/BMPFILES").size(), 40u);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{Summary(tile, "TILES", 40)});
}

TEST_F(ExtractionTest, APaletteMemberWritesThePaletteFiles) {
  DoubleClick(4, "MENU2");  // padded with spaces in the index
  EXPECT_EQ(
      FilesIn("TOVRIN_PFP/PALETTES"),
      (std::vector<std::string>{"MENU2-palette for PSP.PAL", "MENU2-palette for Photoshop.ACT"}));
  EXPECT_EQ(testing::ReadFile(program / "MENU2.RGB"), sample::SamplePalette(2));
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"MENU2-palettes for Adobe Photoshop and PaintShopPro has been "
                                     "created in \r\n" +
                                     data.Path() + "TOVRIN_PFP/PALETTES/"});
  EXPECT_FALSE(ui.Busy());
}

TEST_F(ExtractionTest, WithAllArchivesListedOnlyTheOutputFolderIsMade) {
  const auto before = testing::SnapshotFolder(data.Path());
  session.Window.ListIndex = 3;
  OnList1DoubleClick(session);
  auto expected = before;
  expected["TOVRIN_PFP"] = {};
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), expected);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{});
}

struct NoExtraction {
  const char* Name;
  int Option;  // selected before the double-click
  int Row;
};

class DoubleClickWithoutExtraction : public ExtractionTest,
                                     public ::testing::WithParamInterface<NoExtraction> {};

TEST_P(DoubleClickWithoutExtraction, ChangesNothing) {
  ASSERT_TRUE(ClickOption(session, GetParam().Option));
  session.Window.ListIndex = GetParam().Row;
  const auto before = testing::SnapshotFolder(data.Path());
  OnList1DoubleClick(session);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_TRUE(ui.Events().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DoubleClickWithoutExtraction,
                         ::testing::Values(NoExtraction{"NoRowSelected", 2, -1},
                                           NoExtraction{"RowPastTheList", 2, 100000}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ExtractionTest, AMissingArchiveIsNamedAndNothingBelowTheOutputFolderIsMade) {
  ASSERT_TRUE(ClickOption(session, 3));
  std::filesystem::remove(data / "TIL.PFP");
  const auto before = testing::SnapshotFolder(data.Path());
  session.Window.ListIndex = 0;
  OnList1DoubleClick(session);
  auto expected = before;
  expected["TOVRIN_PFP"] = {};
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), expected);
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"I cannot find the file: " + data.Path() +
                                     "TIL.PFP\r\nThis file MUST be in the DATA folder of your "
                                     "game. Check your settings for this program."});
  EXPECT_FALSE(session.Extraction.Completed);
}

TEST_F(ExtractionTest, ASecondExtractionReplacesTheSameNumbersAndKeepsHigherOnes) {
  std::filesystem::create_directories(data / "TOVRIN_PFP/ICONS/BMPFILES");
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/CURSORS_00000.BMP", "old");
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/CURSORS_00099.BMP", "older version");
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/CURSORS.SHP", "old sprite");
  DoubleClick(2, "CURSORS");
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/CURSORS.SHP"),
            MemberBytes("SHP", "CURSORS"));
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/BMPFILES/CURSORS_00000.BMP").size(),
            1078u + 16 * 16);
  EXPECT_EQ(testing::ReadText(data / "TOVRIN_PFP/ICONS/BMPFILES/CURSORS_00099.BMP"),
            "older version");
  EXPECT_EQ(FilesIn("TOVRIN_PFP/ICONS/BMPFILES").size(), 7u);
}

TEST_F(ExtractionTest, OutputFoldersOfAnotherCaseAreUsed) {
  std::filesystem::create_directories(data / "tovrin_pfp/icons/bmpfiles");
  DoubleClick(2, "BUTTONS");
  EXPECT_TRUE(std::filesystem::exists(data / "tovrin_pfp/icons/BUTTONS.SHP"));
  EXPECT_EQ(FilesIn("tovrin_pfp/icons/bmpfiles").size(), 12u);
  EXPECT_FALSE(std::filesystem::exists(data / "TOVRIN_PFP"));
}

// An independent reader opens what the tool writes.
TEST_F(ExtractionTest, ImageMagickReadsTheBmps) {
  if (std::system("identify -version > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "ImageMagick's identify is not installed";
  }
  MakePalettes();
  DoubleClick(2, "UNITICON");
  DoubleClick(2, "PANELS");
  DoubleClick(3, sample::TileNames(1)[0]);
  const std::string out = (data / "identify.txt");
  const std::string command = "identify -format '%m %w %h %z %[pixel:p{0,0}]\\n' '" + data.Path() +
                              "TOVRIN_PFP/ICONS/BMPFILES/UNITICON_00005.BMP' '" + data.Path() +
                              "TOVRIN_PFP/ICONS/BMPFILES/PANELS_00002.BMP' '" + data.Path() +
                              "TOVRIN_PFP/TILES/BMPFILES/" + sample::TileNames(1)[0] +
                              "_00039.BMP' > '" + out + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << testing::ReadText(out);
  // The corners of icons, panels and hexes are transparent: the pink of the DAY palette.
  EXPECT_EQ(testing::ReadText(out),
            "BMP3 32 32 8 srgb(255,225,225)\nBMP3 200 150 8 srgb(255,225,225)\n"
            "BMP3 64 32 8 srgb(255,225,225)\n");
}

}  // namespace
}  // namespace zorvane::app
