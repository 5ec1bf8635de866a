#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/insert_menu.h"
#include "app/main_window_events.h"
#include "app/row_dispatch.h"
#include "graphics/bmp_header.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The sample installation, started as the desktop program starts.
class RepackTest : public ::testing::Test {
 protected:
  RepackTest() : session(ui, program.Path()) {}

  void SetUp() override {
    ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
    ASSERT_TRUE(RunStartUp(session, {data.Path()}));
    ui.Clear();
  }

  // Selects the option and double-clicks the first row whose name column holds `name`.
  void DoubleClick(int option, const std::string& name) {
    ClickOption(session, option);
    const auto& rows = session.Window.List1;
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& text) {
      return text.substr(0, 12) == (name + std::string(12, ' ')).substr(0, 12);
    });
    ASSERT_NE(row, rows.end()) << name;
    session.Window.ListIndex = static_cast<int>(row - rows.begin());
    OnList1DoubleClick(session);
  }

  testing::TempFolder data;
  testing::TempFolder program;
  platform::ScriptedUi ui;
  Session session;
};

TEST_F(RepackTest, ChoosingADestinationListsItsSetsUnderItsCaptions) {
  DoubleClick(2, "CURSORS");
  DoubleClick(2, "BUTTONS");
  ASSERT_TRUE(ClickOption(session, 2));
  ui.Clear();
  session.Window.ListIndex = 3;
  ASSERT_TRUE(ClickOption(session, 5));
  const MainWindowModel& window = session.Window;
  EXPECT_EQ(window.Option, (std::array<bool, 7>{false, false, false, false, false, true, false}));
  EXPECT_EQ(window.Label1Caption, "Current BMP files for Conversion to SHP.");
  EXPECT_EQ(window.Label2Caption, "Filename    Located in     Number of BMP-files");
  EXPECT_EQ(window.Label3Caption,
            "Doubleclick a file to convert all its BMP files back to SHP\r\nThe SHP file will be "
            "saved in " +
                data.Path() + "TOVRIN_PFP/ICONS/");
  EXPECT_EQ(window.List1, (std::vector<std::string>{"BUTTONS     SHP.PFP            12",
                                                    "CURSORS     SHP.PFP             6"}));
  EXPECT_EQ(window.ListIndex, -1);
  EXPECT_EQ(window.File1.Path, data.Path() + "TOVRIN_PFP/ICONS/BMPFILES");
  EXPECT_EQ(window.File1.ListCount(), 18);
  EXPECT_EQ(session.Repack.RepackFolder, "TOVRIN_PFP/ICONS/");
  EXPECT_TRUE(ui.Events().empty());
}

// With a destination chosen a double-click never extracts, even while the list still shows
// members because the destination's folder is missing.
TEST_F(RepackTest, ADoubleClickWithADestinationNeverExtracts) {
  ASSERT_TRUE(ClickOption(session, 2));
  const std::vector<std::string> memberRows = session.Window.List1;
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_FALSE(ClickOption(session, 6));
  EXPECT_EQ(session.Window.List1, memberRows);
  EXPECT_EQ(session.Window.Label1Caption, "Current BMP files for Conversion to SHP.");
  EXPECT_EQ(session.Window.Label3Caption,
            "Doubleclick a file to convert all its BMP files back to SHP\r\nThe SHP file will be "
            "saved in " +
                data.Path() + "TOVRIN_PFP/TILES/");
  session.Window.ListIndex = 0;  // MAINMENU
  OnList1DoubleClick(session);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  const std::string tiles = data.Path() + "TOVRIN_PFP/TILES/BMPFILES";
  EXPECT_EQ(ui.Messages(),
            (std::vector<std::string>{
                "The Folder: \r\n" + tiles + "\r\nDoes not exist. No Files ready for conversion.",
                "There are no BMP files of the set MAINMENU in the folder:\r\n" + tiles +
                    "\r\nNo SHP file made."}));
}

// An extracted sprite packed again unchanged is the member it came from, byte for byte.
struct MemberCase {
  int Option;  // 2: SHP.PFP, 3: TIL.PFP
  int Destination;
  const char* Name;
  const char* Folder;
};

class UnchangedRepack : public RepackTest, public ::testing::WithParamInterface<MemberCase> {};

TEST_P(UnchangedRepack, GivesTheMemberBack) {
  const MemberCase& c = GetParam();
  DoubleClick(c.Option, c.Name);
  const std::string sprite = data.Path() + "TOVRIN_PFP/" + c.Folder + "/" + c.Name + ".SHP";
  const Bytes member = testing::ReadFile(sprite);
  std::filesystem::remove(sprite);
  ui.Clear();
  DoubleClick(c.Destination, c.Name);
  EXPECT_EQ(testing::ReadFile(sprite), member);
  EXPECT_TRUE(session.Repack.Completed);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_TRUE(ui.Messages()[0].starts_with("The files has been converted and saved as: \r\n" +
                                           sprite + "\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    SampleMembers, UnchangedRepack,
    ::testing::Values(MemberCase{2, 5, "MAINMENU", "ICONS"}, MemberCase{2, 5, "TURN03_U", "ICONS"},
                      MemberCase{2, 5, "UNITICON", "ICONS"}, MemberCase{2, 5, "BUTTONS", "ICONS"},
                      MemberCase{2, 5, "PANELS", "ICONS"}, MemberCase{3, 6, "T_CLR_DD", "TILES"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The modder's road: extract, edit one BMP, add one, pack, insert, extract again.
TEST_F(RepackTest, EditedBmpsComeBackFromTheGameAsEdited) {
  DoubleClick(2, "UNITICON");
  const std::string bmps = data.Path() + "TOVRIN_PFP/ICONS/BMPFILES/";
  ASSERT_TRUE(std::filesystem::exists(bmps + "UNITICON_00047.BMP"));
  ASSERT_FALSE(std::filesystem::exists(bmps + "UNITICON_00048.BMP"));

  // Paint a bar across icon 3, transparent pixels included.
  Bytes edited = testing::ReadFile(bmps + "UNITICON_00003.BMP");
  for (int x = 0; x < 32; ++x) edited[1078 + 10 * 32 + x] = 17;
  for (int x = 4; x < 10; ++x) edited[1078 + 20 * 32 + x] = 213;
  testing::WriteFile(bmps + "UNITICON_00003.BMP", edited);
  // A new icon of another size, with the palette of the others.
  graphics::BmpHeader header;
  graphics::SetBmpPictureSize(header, 5, 3);
  Bytes added = graphics::BmpFilePrefix(header, {});
  const Bytes first = testing::ReadFile(bmps + "UNITICON_00000.BMP");
  std::copy(first.begin() + 54, first.begin() + 1078, added.begin() + 54);
  for (const int pixel :
       {213, 1, 2, 3, 213, 0, 0, 0, 4, 4, 4, 4, 213, 0, 0, 0, 213, 213, 213, 213, 213, 0, 0, 0}) {
    added.push_back(static_cast<std::uint8_t>(pixel));
  }
  testing::WriteFile(bmps + "UNITICON_00048.BMP", added);
  const auto editedBmps = testing::SnapshotFolder(bmps);

  DoubleClick(5, "UNITICON");
  EXPECT_EQ(session.Window.List1, std::vector<std::string>{"UNITICON    SHP.PFP            49"});
  ASSERT_TRUE(session.Repack.Completed);
  ui.QueueFileChoice(data.Path() + "TOVRIN_PFP/ICONS/UNITICON.SHP");
  OnInsertShpFileMenu(session);
  ASSERT_EQ(session.LastInsertion, archive::InsertionOutcome::Inserted);

  std::filesystem::remove_all(bmps);
  ui.Clear();
  DoubleClick(2, "UNITICON");
  EXPECT_EQ(testing::SnapshotFolder(bmps), editedBmps);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_TRUE(ui.Messages()[0].ends_with("Total number of BMPs in UNITICON.SHP is 49"));
}

}  // namespace
}  // namespace zorvane::app
