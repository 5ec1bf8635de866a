#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window_events.h"
#include "archive/index_files.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() : session(ui, program.Path()) {}

  void UseSample() {
    ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
    testing::WriteFile(program / "Zorvane.ini", "PFP-path = " + data.Path() + "\r\n");
  }

  std::string CannotLocate(const std::string& file) const {
    return "Cannot locate " + session.DataFolder + file +
           " - you'll have to set up the folders again.";
  }

  testing::TempFolder program;
  testing::TempFolder data;
  platform::ScriptedUi ui;
  Session session;
};

TEST_F(StartUpTest, OpensCompactWithTheCaptionsOfTheDesign) {
  UseSample();
  ASSERT_TRUE(RunStartUp(session));
  const MainWindowModel& window = session.Window;
  EXPECT_EQ(window.Caption, "Tovrin's Zorvane, Version:  2. 4. 0");
  EXPECT_EQ(window.Label1Caption, "Installation of '.PFP' files:");
  EXPECT_EQ(window.Label2Caption, "Filename    Located in    Offset in *.PFP  FileLength");
  EXPECT_EQ(window.Label3Caption,
            "To install a file use the Insert Menu.\r\nTo learn more about how to use this "
            "program, select the 'HowTo' in the 'Help' menu.");
  EXPECT_EQ(window.HeightTwips, 2000);
  EXPECT_FALSE(window.Detailed());
  EXPECT_FALSE(window.List1Visible);
  EXPECT_FALSE(window.Frame1Visible);
  EXPECT_FALSE(window.File1Visible);
  EXPECT_TRUE(window.Option[1]);
  EXPECT_TRUE(ui.Events().empty());
}

TEST_F(StartUpTest, TheListTheUserSeesIsTheSecondListing) {
  UseSample();
  ASSERT_TRUE(RunStartUp(session));
  const auto index = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX"));
  const auto& rows = session.Window.List1;
  ASSERT_EQ(rows.size(), index.Records.size());
  EXPECT_EQ(session.Index.LastRow, static_cast<std::int32_t>(rows.size()) - 1);
  // The first listing ran before EXT.IDX was loaded; the second shows the fresh names.
  EXPECT_EQ(rows.front().substr(0, 19), "STRINGS     TXT.PFP");
  EXPECT_NE(std::find_if(
                rows.begin(), rows.end(),
                [](const std::string& row) { return row.starts_with("AUDIO       SND     .PFP"); }),
            rows.end());
}

TEST_F(StartUpTest, ASettingsFileNamingNoFolderSendsTheUserToSetup) {
  testing::WriteFile(program / "Zorvane.ini", "PFP-path= wrong\r\n");
  EXPECT_FALSE(RunStartUp(session));
  EXPECT_FALSE(session.Terminated);
  EXPECT_TRUE(ui.FileRequests().empty());
  EXPECT_EQ(ui.Messages(),
            (std::vector<std::string>{CannotLocate("PFPDATA.IDX"), CannotLocate("EXT.IDX"),
                                      CannotLocate("PFPDATA.IDX")}));
  EXPECT_TRUE(session.Window.List1.empty());
}

TEST_F(StartUpTest, AFolderWithoutTheSeparatorIsUsedUnchanged) {
  UseSample();
  std::string folder = data.Path();
  folder.pop_back();
  testing::WriteFile(program / "Zorvane.ini", "PFP-path = " + folder + "   \r\n");
  EXPECT_FALSE(RunStartUp(session));
  EXPECT_EQ(session.DataFolder, folder);
  EXPECT_EQ(ui.Messages().front(), "Cannot locate " + folder +
                                       "PFPDATA.IDX - you'll have to "
                                       "set up the folders again.");
}

TEST_F(StartUpTest, WithoutSettingsTheDialogRunsFirst) {
  ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
  ui.QueueFileChoice(data / "TXT.PFP");
  ASSERT_TRUE(RunStartUp(session));
  EXPECT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_EQ(testing::ReadText(program / "Zorvane.ini"), "PFP-path = " + data.Path() + "\r\n");
  EXPECT_FALSE(session.Window.List1.empty());
}

TEST_F(StartUpTest, EndingTheProgramInTheDialogStopsTheStartUp) {
  ui.QueueAnswer(platform::Answer::Cancel);
  ui.QueueAnswer(platform::Answer::Ok);
  EXPECT_FALSE(RunStartUp(session));
  EXPECT_TRUE(session.Terminated);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(StartUpTest, DataFolderOptionTakesThePlaceOfTheSettingsFile) {
  ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
  std::string folder = data.Path();
  folder.pop_back();
  ASSERT_TRUE(RunStartUp(session, {folder}));
  EXPECT_EQ(session.DataFolder, data.Path());
  EXPECT_FALSE(std::filesystem::exists(program / "Zorvane.ini"));
  EXPECT_TRUE(ui.Events().empty());
}

struct OptionCase {
  int Option;
  const char* Title;
  const char* Hint;
  const char* ToolTip;
  const char* FirstRow;
};

class ArchiveOption : public StartUpTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(ArchiveOption, ClearsTheDestinationsListsAndSetsTheCaptions) {
  UseSample();
  ASSERT_TRUE(RunStartUp(session));
  session.Window.Option[5] = true;
  session.Window.ListIndex = 3;
  ASSERT_TRUE(ClickOption(session, GetParam().Option));
  const MainWindowModel& window = session.Window;
  EXPECT_FALSE(window.Option[5]);
  EXPECT_FALSE(window.Option[6]);
  for (int option = 1; option <= 4; ++option) {
    EXPECT_EQ(window.Option[option], option == GetParam().Option);
  }
  EXPECT_EQ(window.Label1Caption, GetParam().Title);
  EXPECT_EQ(window.Label2Caption, "Filename    Located in    Offset in *.PFP  FileLength");
  EXPECT_EQ(window.Label3Caption, GetParam().Hint);
  EXPECT_EQ(window.List1ToolTip, GetParam().ToolTip);
  EXPECT_EQ(window.ListIndex, -1);
  ASSERT_FALSE(window.List1.empty());
  EXPECT_EQ(window.List1.front().substr(0, 24), GetParam().FirstRow);
  EXPECT_EQ(session.Index.LastRow, static_cast<std::int32_t>(window.List1.size()) - 1);
}

constexpr char kConvertHint[] =
    "To extract a file and convert it to BMP-files Doubleclick the filename in the list.";
constexpr char kConvertTip[] = "Doubleclick to extract and convert a file.";

INSTANTIATE_TEST_SUITE_P(
    Choices, ArchiveOption,
    ::testing::Values(
        OptionCase{1, "Current Content of all '.PFP' files.", "", "", "STRINGS     TXT     .PFP"},
        OptionCase{2, "Current Content of the 'SHP.PFP' file.", kConvertHint, kConvertTip,
                   "MAINMENU    SHP     .PFP"},
        OptionCase{3, "Current Content of the 'TIL.PFP' file.", kConvertHint, kConvertTip,
                   "T_CLR_DD    TIL     .PFP"},
        OptionCase{4,
                   "Current Content of the 'PAL.PFP' file.\r\nTo make a fresh palette for "
                   "painting, Doubleclick the filename in the list.",
                   "First time you run this Tool, you will have to make ALL palettes. Otherwise "
                   "the Tool cannot run proper.",
                   "Doubleclick to extract an BGR palette as binary file.",
                   "DAY         PAL     .PFP"}));

}  // namespace
}  // namespace zorvane::app
