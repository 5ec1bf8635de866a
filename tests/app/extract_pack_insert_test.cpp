#include <gtest/gtest.h>

#include <filesystem>

#include "app/dropped_files.h"
#include "app/extraction_events.h"
#include "app/insert_menu.h"
#include "app/restore.h"
#include "archive/installation_check.h"
#include "sample/sample_palettes.h"
#include "sample/sample_pictures.h"
#include "support/pictures.h"
#include "support/sample_session.h"

namespace zorvane::app {
namespace {

using testing::NativePath;

using archive::InsertionOutcome;
using testing::ReadFile;
using testing::SnapshotFolder;
using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<std::string>;

class ExtractPackInsertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RunStartUp(s.session));
    s.ui.Clear();
  }

  std::optional<InsertionOutcome> Insert(const std::string& file) {
    s.ui.QueueFileChoice(file);
    OnInsertShpFileMenu(s.session);
    return s.session.LastInsertion;
  }

  testing::SampleSession s;
  const std::string data = s.data.Path();
};

// A row that names no member extracts nothing (all archives listed: only the output folder is
// made). A member's row: each sub-image becomes a BMP, said in one message under the busy
// pointer; the BMPs hold the sample's pictures, icons in DAY (213: transparent pink) before the
// palettes exist, a screen in its own palette after.
TEST_F(ExtractPackInsertTest, ADoubleClickConvertsEachSubImageToABmp) {
  using Event = platform::ScriptedUi::Event;
  auto expected = SnapshotFolder(data);
  expected["TOVRIN_PFP"] = {};
  for (const auto& [option, row] : {std::pair{2, -1}, {2, 100000}, {1, 3}}) {
    ASSERT_TRUE(ClickOption(s.session, option));
    s.session.Window.ListIndex = row;
    OnList1DoubleClick(s.session);
  }
  EXPECT_EQ(SnapshotFolder(data), expected);
  EXPECT_TRUE(s.ui.Messages().empty());
  const std::tuple<int, std::string, std::string, int> members[] = {
      {2, "UNITICON", "ICONS", 48}, {2, "MAINMENU", "ICONS", 1}, {3, "T_CLR_DD", "TILES", 40}};
  for (const auto& [option, name, folder, count] : members) {
    if (name == "MAINMENU") {  // make the palettes
      ASSERT_TRUE(ClickOption(s.session, 4));
      for (int row = 0; row < 15; ++row) {
        s.session.Window.ListIndex = row;
        OnList1DoubleClick(s.session);
      }
      ASSERT_TRUE(CheckPalettes(s.session));
    }
    s.ui.Clear();
    ASSERT_TRUE(s.DoubleClick(option, name));
    const std::string out = data + NativePath("TOVRIN_PFP/") + folder + NativePath("/");
    const std::string last = std::to_string(100000 + count - 1).substr(1);  // 5 digits
    EXPECT_TRUE(
        std::filesystem::exists(out + NativePath("BMPFILES/") + name + "_" + last + ".BMP"));
    const std::string message =
        "The File: " + name + "\r\n\r\nHas been extracted to:\r\n\r\n" + out + name +
        ".SHP\r\n\r\nand converted to.\r\n\r\n" + out + NativePath("BMPFILES/") + name +
        "_xxxxx.BMP\r\n\r\nWhere xxxxx is the iconnumber inside " + name +
        "\r\n\r\nTotal number of BMPs in " + name + ".SHP is " + std::to_string(count);
    EXPECT_EQ(s.ui.Events(), (std::vector<Event>{{Event::Kind::Busy, ""},
                                                 {Event::Kind::Message, message},
                                                 {Event::Kind::NotBusy, ""}}));
  }
  for (const auto& [name, picture, palette] :
       {std::tuple{"UNITICON_00017", sample::UnitIcon(17), Bytes()},
        {"MAINMENU_00000", sample::Landscape(640, 480, 1), sample::SamplePalette(1)}}) {
    const Bytes bmp = ReadFile(data + NativePath("TOVRIN_PFP/ICONS/BMPFILES/") + name + ".BMP");
    Bytes pixels(bmp.begin(), bmp.begin() + 1078);
    for (int y = picture.Height - 1; y >= 0; --y) {
      pixels.insert(pixels.end(), picture.Pixels.begin() + y * picture.Width,
                    picture.Pixels.begin() + (y + 1) * picture.Width);
    }
    EXPECT_TRUE(bmp == pixels) << name;
    for (std::size_t i = 0; i < palette.size(); ++i)
      EXPECT_EQ(bmp[54 + i], i % 4 == 3 ? 0 : palette[i]) << i;
    if (palette.empty()) {
      EXPECT_EQ(Bytes(bmp.begin() + 54 + 4 * 213, bmp.begin() + 58 + 4 * 213),
                (Bytes{225, 225, 255, 0}));
    }
  }
}

// Extracted by a double-click, packed again and inserted by the Insert menu, each member gives
// back its sprite file, the archive and the index byte for byte; only the backups are new. A
// cancelled or refused insertion changes nothing, nor does a double-click on a member row that
// a destination without its folder left in the list.
TEST_F(ExtractPackInsertTest, AMemberExtractedPackedAndInsertedUnchangedChangesNoByte) {
  const auto before = SnapshotFolder(data);
  EXPECT_EQ(Insert(""), InsertionOutcome::Cancelled);
  testing::WriteFile(s.program / "UNKNOWN.SHP", "x");
  EXPECT_EQ(Insert(s.program / "UNKNOWN.SHP"), InsertionOutcome::Refused);
  EXPECT_EQ(s.ui.Messages(), Rows{"I couldn't find the file UNKNOWN, you have to insert a file "
                                  "that is allready known to PacGen."});
  ASSERT_TRUE(ClickOption(s.session, 2));
  EXPECT_FALSE(ClickOption(s.session, 6));
  s.session.Window.ListIndex = 0;
  OnList1DoubleClick(s.session);
  EXPECT_TRUE(s.ui.Messages().back().starts_with("There are no BMP files of the set MAINMENU"));
  EXPECT_EQ(SnapshotFolder(data), before);
  for (const std::string name :
       {"MAINMENU", "TURN03_U", "UNITICON", "BUTTONS", "PANELS", "T_CLR_DD", "T_DES_DD"}) {
    const std::string archive = name.starts_with("T_") ? "TIL" : "SHP";
    const auto previous = SnapshotFolder(data);
    ASSERT_TRUE(s.DoubleClick(archive == "TIL" ? 3 : 2, name));
    const std::string sprite = data + NativePath("TOVRIN_PFP/") +
                               NativePath(archive == "TIL" ? "TILES/" : "ICONS/") + name + ".SHP";
    const Bytes extracted = ReadFile(sprite);
    std::filesystem::remove(sprite);
    s.ui.Clear();
    ASSERT_TRUE(s.DoubleClick(archive == "TIL" ? 6 : 5, name));
    EXPECT_EQ(ReadFile(sprite), extracted) << name;
    ASSERT_EQ(Insert(sprite), InsertionOutcome::Inserted);
    const auto after = SnapshotFolder(data);
    for (const auto& [file, bytes] : previous) EXPECT_EQ(after.at(file), bytes) << file;
    EXPECT_EQ(after.at(archive + "_OLD.PFP"), before.at(archive + ".PFP"));
    EXPECT_EQ(after.at("PFPDATA_OLD.IDX"), before.at("PFPDATA.IDX"));
  }
}

// The modder's road: extract, edit one BMP, add one, pack, insert (the list keeps its rows
// until the next listing), extract again.
TEST_F(ExtractPackInsertTest, EditedBmpsComeBackFromTheGameAsEdited) {
  ASSERT_TRUE(s.DoubleClick(2, "UNITICON"));
  const auto row = static_cast<std::size_t>(s.session.Window.ListIndex);
  const std::string bmps = data + NativePath("TOVRIN_PFP/ICONS/BMPFILES/");
  Bytes edited = ReadFile(bmps + "UNITICON_00003.BMP");
  std::fill_n(edited.begin() + 1078 + 10 * 32, 32, 17);      // a bar across icon 3
  std::fill_n(edited.begin() + 1078 + 20 * 32 + 4, 6, 213);  // and a transparent one
  testing::WriteFile(bmps + "UNITICON_00003.BMP", edited);
  // A new icon of another size, in the palette of the others.
  Bytes added =
      testing::BmpBytesOf({{213, 213, 213, 213, 213}, {4, 4, 4, 4, 213}, {213, 1, 2, 3, 213}});
  std::copy(edited.begin() + 54, edited.begin() + 1078, added.begin() + 54);
  testing::WriteFile(bmps + "UNITICON_00048.BMP", added);
  const auto editedBmps = SnapshotFolder(bmps);
  s.ui.Clear();
  s.session.Window.ListIndex = 3;
  ASSERT_TRUE(ClickOption(s.session, 5));  // lists the sets under its captions, showing nothing
  Rows shown = testing::Shown(s.session.Window);
  shown.insert(shown.end(), s.session.Window.List1.begin(), s.session.Window.List1.end());
  EXPECT_EQ(shown, (Rows{"Current BMP files for Conversion to SHP.",
                         "Filename    Located in     Number of BMP-files",
                         "Doubleclick a file to convert all its BMP files back to SHP\r\nThe SHP "
                         "file will be saved in " +
                             data + NativePath("TOVRIN_PFP/ICONS/"),
                         "Doubleclick to extract and convert a file.",
                         "options 000010 hidden hidden hidden hidden height 2000 row -1",
                         "UNITICON    SHP.PFP            49"}));
  EXPECT_TRUE(s.ui.Events().empty() && s.session.Window.File1.ListCount() == 49);
  ASSERT_TRUE(s.DoubleClick(5, "UNITICON"));

  ASSERT_TRUE(ClickOption(s.session, 2));
  const Rows members = s.session.Window.List1;
  const std::string sprite = data + NativePath("TOVRIN_PFP/ICONS/UNITICON.SHP");
  s.ui.Clear();
  ASSERT_EQ(Insert(sprite), InsertionOutcome::Inserted);
  EXPECT_TRUE(s.ui.Messages().at(0).starts_with("Insertion of file:\r\n" + sprite +
                                                "\r\ninto \r\n" + data + "SHP.PFP\r\n"));
  EXPECT_EQ(s.session.Window.List1, members);
  ASSERT_TRUE(ListArchiveMembers(s.session));
  const std::string length = std::to_string(std::filesystem::file_size(sprite));
  // Name, archive and offset columns (24 + 15 characters) unchanged, the new length.
  EXPECT_EQ(s.session.Window.List1[row],
            members[row].substr(0, 39) + std::string(15 - length.size(), ' ') + length);
  EXPECT_EQ(std::stol(s.session.Window.List1[row + 1].substr(24, 15)),
            std::stol(members[row].substr(24, 15)) + std::stol(length));

  std::filesystem::remove_all(bmps);
  ASSERT_TRUE(s.DoubleClick(2, "UNITICON"));
  EXPECT_EQ(SnapshotFolder(bmps), editedBmps);
}

}  // namespace
}  // namespace zorvane::app

namespace zorvane::app {
namespace {

// Dropped files, one after another: a sprite file is inserted as Insert SHP file inserts it
// (the same messages); a folder or PFPDATA.IDX is offered as the installation and switched to
// only when the user agrees; anything else is refused with a message and changes nothing.
TEST_F(ExtractPackInsertTest, DroppedFilesAreInsertedSwitchedToOrRefused) {
  ASSERT_TRUE(s.DoubleClick(2, "CURSORS"));
  const std::string sprite = data + NativePath("TOVRIN_PFP/ICONS/CURSORS.SHP");
  s.ui.Clear();
  ASSERT_EQ(Insert(sprite), InsertionOutcome::Inserted);
  const auto inserted = s.ui.Messages();
  const auto before = SnapshotFolder(data);
  s.ui.Clear();
  OnFilesDropped(s.session, {sprite});
  EXPECT_EQ(s.session.LastInsertion, InsertionOutcome::Inserted);
  EXPECT_EQ(s.ui.Messages(), inserted);
  const auto dropped = SnapshotFolder(data);
  EXPECT_EQ(dropped.at("SHP.PFP"), before.at("SHP.PFP"));

  testing::TempFolder other;
  ASSERT_TRUE(sample::WriteSampleInstallation(other.Path(), {}));
  testing::WriteFile(s.program / "notes.txt", "x");
  s.ui.Clear();
  s.ui.QueueAnswer(platform::Answer::Cancel);
  s.ui.QueueAnswer(platform::Answer::Ok);
  OnFilesDropped(s.session, {other.Path(), s.program / "notes.txt", other / "pfpdata.idx"});
  EXPECT_EQ(s.ui.Questions(), (Rows{SwitchQuestion(other.Path()), SwitchQuestion(other.Path())}));
  EXPECT_EQ(s.ui.Messages(), Rows{NotDroppableMessage(s.program / "notes.txt")});
  EXPECT_EQ(s.session.DataFolder, other.Path());
  EXPECT_EQ(s.session.RecentInstallations.front(), other.Path());
  EXPECT_EQ(SnapshotFolder(data), dropped);
}

}  // namespace
}  // namespace zorvane::app

namespace zorvane::app {
namespace {

// Restore puts back the backups of the last insertion; the versions it replaced become the
// backups, so restoring again gives the installation after the insertion back. Without
// backups, or with backups that do not belong together, it says so and changes nothing.
TEST_F(ExtractPackInsertTest, RestorePutsTheLastInsertionBackAndTwiceChangesNothing) {
  const auto fresh = SnapshotFolder(data);
  EXPECT_FALSE(RestorePreviousVersion(data, s.ui));
  EXPECT_TRUE(s.ui.Messages().back().starts_with("There are no backups to restore in " + data));
  EXPECT_EQ(SnapshotFolder(data), fresh);

  ASSERT_TRUE(s.DoubleClick(2, "UNITICON"));
  std::filesystem::copy_file(data + NativePath("TOVRIN_PFP/ICONS/UNITICON.SHP"),
                             s.program / "CURSORS.SHP");
  const auto before = SnapshotFolder(data);
  ASSERT_EQ(Insert(s.program / "CURSORS.SHP"), InsertionOutcome::Inserted);
  const auto inserted = SnapshotFolder(data);
  ASSERT_NE(inserted.at("SHP.PFP"), before.at("SHP.PFP"));
  s.ui.Clear();
  ASSERT_TRUE(RestorePreviousVersion(data, s.ui));
  EXPECT_EQ(s.ui.Messages(),
            Rows{"The previous version has been put back:\r\n" + data +
                 "PFPDATA.IDX from PFPDATA_OLD.IDX\r\n" + data +
                 "SHP.PFP from SHP_OLD.PFP\r\nThe versions it replaced are kept as the "
                 "backups: Restore again puts them back."});
  const auto restored = SnapshotFolder(data);
  for (const char* name : {"SHP.PFP", "PFPDATA.IDX"}) {
    EXPECT_EQ(restored.at(name), before.at(name)) << name;
  }
  EXPECT_EQ(restored.at("SHP_OLD.PFP"), inserted.at("SHP.PFP"));
  EXPECT_TRUE(archive::CheckInstallation(data).empty());
  ASSERT_TRUE(RestorePreviousVersion(data, s.ui));
  EXPECT_EQ(SnapshotFolder(data), inserted);

  // A later insertion into TIL.PFP: its backup, not the older SHP_OLD.PFP, goes with the index's.
  ASSERT_TRUE(s.DoubleClick(3, "T_BCH_DD"));
  std::filesystem::copy_file(data + NativePath("TOVRIN_PFP/TILES/T_BCH_DD.SHP"),
                             s.program / "T_CLR_DD.SHP");
  const auto beforeTiles = SnapshotFolder(data);
  ASSERT_EQ(Insert(s.program / "T_CLR_DD.SHP"), InsertionOutcome::Inserted);
  const auto tiles = SnapshotFolder(data);
  ASSERT_NE(tiles.at("TIL.PFP"), beforeTiles.at("TIL.PFP"));
  // The older backup's entry is changed last (chmod), yet the index backup does not go with it.
  std::filesystem::permissions(data + "SHP_OLD.PFP", std::filesystem::perms::owner_read,
                               std::filesystem::perm_options::add);
  ASSERT_TRUE(RestorePreviousVersion(data, s.ui));
  const auto back = SnapshotFolder(data);
  for (const char* name : {"TIL.PFP", "PFPDATA.IDX", "SHP.PFP", "SHP_OLD.PFP"}) {
    EXPECT_EQ(back.at(name), beforeTiles.at(name)) << name;
  }
  EXPECT_EQ(back.at("TIL_OLD.PFP"), tiles.at("TIL.PFP"));

  testing::WriteFile(data + "PFPDATA_OLD.IDX", "not an index");
  s.ui.Clear();
  const auto broken = SnapshotFolder(data);
  EXPECT_FALSE(RestorePreviousVersion(data, s.ui));
  EXPECT_TRUE(
      s.ui.Messages().back().starts_with("The backups in " + data + " do not belong together"));
  EXPECT_TRUE(s.ui.Messages().back().ends_with("Nothing has been changed."));
  EXPECT_EQ(SnapshotFolder(data), broken);
}

}  // namespace
}  // namespace zorvane::app
