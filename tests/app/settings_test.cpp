#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window_events.h"
#include "app/settings.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

using platform::Answer;
using testing::ReadText;
using testing::WriteFile;

struct LineCase {
  const char* Line;
  std::optional<std::string> Folder;
};

class SettingsLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SettingsLine, OnlyTheExactKeyNamesAFolder) {
  EXPECT_EQ(FolderFromSettingsLine(GetParam().Line), GetParam().Folder) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsLine,
    ::testing::Values(LineCase{"PFP-path = /games/PacGen/DATA/", "/games/PacGen/DATA/"},
                      LineCase{"PFP-path =     /games/DATA/    ", "/games/DATA/"},
                      LineCase{"PFP-path =/games/DATA/", "/games/DATA/"},
                      LineCase{"PFP-path = /games/DATA", "/games/DATA"}, LineCase{"PFP-path =", ""},
                      LineCase{"PFP-path= /games/DATA/", std::nullopt},
                      LineCase{"pfp-path = /games/DATA/", std::nullopt},
                      LineCase{" PFP-path = /games/DATA/", std::nullopt},
                      LineCase{"", std::nullopt}));

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : session(ui, " " + program.Path() + " ") {
    std::filesystem::create_directories(data / "DATA");
    testing::WriteMemberIndex(data / "DATA/PFPDATA.IDX", 0, {testing::Member("A", 1, 0)});
    testing::WriteArchiveIndex(data / "DATA/EXT.IDX", {testing::Archive("TXT", 0)});
  }

  std::string SettingsPath() const { return program / "Zorvane.ini"; }

  testing::TempFolder program;
  testing::TempFolder data;
  platform::ScriptedUi ui;
  Session session;
};

TEST_F(SettingsTest, ProgramFolderIsTrimmedAndEndsInTheSeparator) {
  ReadSettings(session);
  EXPECT_EQ(session.ProgramFolder, program.Path());
  EXPECT_FALSE(session.SettingsFound);
}

TEST_F(SettingsTest, OnlyTheFirstLineIsRead) {
  WriteFile(SettingsPath(), "PFP-path = /first/\r\nPFP-path = /second/\r\n");
  ReadSettings(session);
  EXPECT_TRUE(session.SettingsFound);
  EXPECT_EQ(session.DataFolder, "/first/");
  EXPECT_EQ(session.SettingsLine, "PFP-path = /first/");
}

TEST_F(SettingsTest, ALoneCrEndsTheFirstLine) {
  WriteFile(SettingsPath(), "PFP-path = /first/\rsecond");
  ReadSettings(session);
  EXPECT_EQ(session.DataFolder, "/first/");
}

TEST_F(SettingsTest, AFileInAnotherFormIsFoundButNamesNoFolder) {
  for (const char* content : {"PFP-path= /games/DATA/\r\n", "", "\r\nPFP-path = /x/\r\n"}) {
    session.DataFolder.clear();
    WriteFile(SettingsPath(), content);
    ReadSettings(session);
    EXPECT_TRUE(session.SettingsFound) << content;
    EXPECT_EQ(session.DataFolder, "") << content;
  }
  // Found means no dialog.
  SetupDataFolder(session);
  EXPECT_TRUE(ui.Events().empty());
}

TEST_F(SettingsTest, AnExistingSettingsFileIsMatchedWithoutRegardToCase) {
  WriteFile(program / "zorvane.INI", "PFP-path = /lower/\r\n");
  ReadSettings(session);
  EXPECT_EQ(session.DataFolder, "/lower/");
}

TEST_F(SettingsTest, AValidChoiceIsSavedAsOneLine) {
  ReadSettings(session);
  ui.QueueFileChoice("  " + data.Path() + "DATA/EXT.IDX  ");
  SetupDataFolder(session);
  EXPECT_TRUE(session.SettingsFound);
  EXPECT_EQ(session.DataFolder, data.Path() + "DATA/");
  EXPECT_EQ(ReadText(SettingsPath()), "PFP-path = " + data.Path() + "DATA/\r\n");
  ASSERT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_EQ(ui.FileRequests()[0].Title, "Show me your PacGen DATA folder");
  EXPECT_EQ(ui.FileRequests()[0].Filter, "PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP");
  EXPECT_EQ(ui.FileRequests()[0].InitialName, "PFPDATA.IDX");
  EXPECT_TRUE(ui.Questions().empty());
}

TEST_F(SettingsTest, TheDialogLoopAsksAgainUntilAValidFolder) {
  ReadSettings(session);
  // Cancelled (the initial name comes back), OK: ask again; a folder without PFPDATA.IDX,
  // Cancel then Cancel at "Terminate?": ask again; then a valid folder.
  ui.QueueFileChoice("PFPDATA.IDX");
  ui.QueueAnswer(Answer::Ok);
  ui.QueueFileChoice(program.Path() + "something.PFP");
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueFileChoice(data.Path() + "DATA/PFPDATA.IDX");
  SetupDataFolder(session);
  EXPECT_FALSE(session.Terminated);
  EXPECT_EQ(ui.FileRequests().size(), 3u);
  const std::string showMe =
      "You have to show the program where your PacGen DATA folder is located.Otherwise the "
      "program cannot work.";
  EXPECT_EQ(ui.Questions(), (std::vector<std::string>{showMe, showMe, "Terminate the program?"}));
  EXPECT_EQ(ReadText(SettingsPath()), "PFP-path = " + data.Path() + "DATA/\r\n");
}

TEST_F(SettingsTest, CancelThenOkAtTerminateEndsTheProgramWithoutASettingsFile) {
  ReadSettings(session);
  ui.QueueAnswer(Answer::Cancel);
  ui.QueueAnswer(Answer::Ok);
  SetupDataFolder(session);
  EXPECT_TRUE(session.Terminated);
  EXPECT_FALSE(session.SettingsFound);
  EXPECT_EQ(session.DataFolder, "");
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheFolderStillUsed) {
  session.ProgramFolderSource = program.Path() + "missing-folder";
  ReadSettings(session);
  ui.QueueFileChoice(data.Path() + "DATA/PFPDATA.IDX");
  SetupDataFolder(session);
  EXPECT_TRUE(session.SettingsFound);
  EXPECT_EQ(session.DataFolder, data.Path() + "DATA/");
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"The settings file " + program.Path() +
                                     "missing-folder/Zorvane.ini cannot be written: The folder " +
                                     program.Path() +
                                     "missing-folder/ does not exist.\r\nThe chosen folder is "
                                     "used until the program ends."});
}

TEST_F(SettingsTest, TheSetupMenuAlwaysAsksAndReloads) {
  WriteFile(SettingsPath(), "PFP-path = " + data.Path() + "DATA/\r\n");
  ASSERT_TRUE(RunStartUp(session));
  EXPECT_TRUE(ui.FileRequests().empty());
  std::filesystem::create_directories(data / "OTHER");
  testing::WriteMemberIndex(data / "OTHER/pfpdata.idx", 0,
                            {testing::Member("B", 1, 0), testing::Member("C", 1, 1)});
  testing::WriteArchiveIndex(data / "OTHER/ext.idx", {testing::Archive("SND", 0)});
  ui.QueueFileChoice(data.Path() + "OTHER/pfpdata.idx");
  OnSetupMenu(session);
  EXPECT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_EQ(ReadText(SettingsPath()), "PFP-path = " + data.Path() + "OTHER/\r\n");
  ASSERT_EQ(session.Window.List1.size(), 2u);
  EXPECT_EQ(session.Window.List1[1].substr(0, 19), "C           SND.PFP");
}

}  // namespace
}  // namespace zorvane::app
