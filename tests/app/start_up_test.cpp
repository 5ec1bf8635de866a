#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/settings.h"
#include "archive/index_files.h"
#include "support/index_builder.h"
#include "support/sample_session.h"

namespace zorvane::app {
namespace {

using platform::Answer;
using testing::ReadText;
using Rows = std::vector<std::string>;

class StartUpTest : public ::testing::Test {
 protected:
  // A new session on the same folders; the ui forgets everything.
  Session& Fresh() {
    s.ui.Clear();
    return fresh.emplace(s.ui, s.program.Path());
  }

  testing::SampleSession s;
  std::optional<Session> fresh;
  const std::string ini = s.program / "Zorvane.ini";
  const std::string data = s.data.Path();
};

const std::string kHeader = "Filename    Located in    Offset in *.PFP  FileLength";
const std::string kCompact = " hidden hidden hidden hidden height 2000 row -1";
const std::string kInstall = "To install a file use the Insert Menu.";

// The start-up shows only the compact window, on the second listing (made after EXT.IDX was
// loaded); each archive option clears the destinations and the selection, lists, and sets its
// captions; Toggle Details opens the detailed window (checking the palettes) and closes it.
TEST_F(StartUpTest, OpensCompactThenEachArchiveOptionListsUnderItsCaptions) {
  ASSERT_TRUE(RunStartUp(s.session));
  EXPECT_TRUE(s.ui.Events().empty());
  EXPECT_EQ(s.session.Window.Caption, "Tovrin's Zorvane, Version:  2. 4. 0");
  const Rows& rows = s.session.Window.List1;
  EXPECT_EQ(rows.size(),
            archive::ParseMemberIndex(testing::ReadFile(data + "PFPDATA.IDX")).Records.size());
  EXPECT_TRUE(std::ranges::any_of(
      rows, [](auto& row) { return row.starts_with("AUDIO       SND     .PFP"); }));
  const std::string hint =
      "To extract a file and convert it to BMP-files Doubleclick the filename in the list.";
  const std::string tip = "Doubleclick to extract and convert a file.";
  const std::vector<Rows> options{
      {"Installation of '.PFP' files:", kHeader,
       kInstall + "\r\nTo learn more about how to use this program, select the 'HowTo' in the "
                  "'Help' menu.",
       "", "options 100000" + kCompact, "STRINGS     TXT.PFP     "},  // after the start-up
      {"Current Content of all '.PFP' files.", kHeader, "", "", "options 100000" + kCompact,
       "STRINGS     TXT     .PFP"},
      {"Current Content of the 'SHP.PFP' file.", kHeader, hint, tip, "options 010000" + kCompact,
       "MAINMENU    SHP     .PFP"},
      {"Current Content of the 'TIL.PFP' file.", kHeader, hint, tip, "options 001000" + kCompact,
       "T_CLR_DD    TIL     .PFP"},
      {"Current Content of the 'PAL.PFP' file.\r\nTo make a fresh palette for painting, "
       "Doubleclick the filename in the list.",
       kHeader,
       "First time you run this Tool, you will have to make ALL palettes. Otherwise the Tool "
       "cannot run proper.",
       "Doubleclick to extract an BGR palette as binary file.", "options 000100" + kCompact,
       "DAY         PAL     .PFP"}};
  for (int option = 0; option <= 4; ++option) {
    if (option > 0) {
      s.session.Window.Option[5] = s.session.Window.Option[6] = true;
      s.session.Window.ListIndex = 3;
      ASSERT_TRUE(ClickOption(s.session, option));
    }
    Rows shown = testing::Shown(s.session.Window);
    shown.push_back(rows.at(0).substr(0, 24));
    EXPECT_EQ(shown, options[static_cast<std::size_t>(option)]);
    EXPECT_EQ(s.session.Index.LastRow + 1, static_cast<std::int32_t>(rows.size()));
  }
  OnToggleDetails(s.session);
  EXPECT_EQ(testing::Shown(s.session.Window),
            (Rows{"Current Content of all '.PFP' files.", kHeader, "", "",
                  "options 100000 shown shown shown hidden height 8100 row -1"}));
  EXPECT_TRUE(s.session.Window.CentreOnScreen);
  EXPECT_TRUE(s.ui.Messages().at(0).starts_with("The program need to generate internal palettes"));
  OnToggleDetails(s.session);
  EXPECT_EQ(testing::Shown(s.session.Window), (Rows{"Installation of '.PFP' files:", kHeader,
                                                    kInstall, "", "options 100000" + kCompact}));
}

// Any settings file counts as found (no dialog); only the exact key on its first line names a
// folder, trimmed of spaces ("kept/": none named), whose missing index files are each named.
// The Setup menu asks all the same, then reloads EXT.IDX and the list.
TEST_F(StartUpTest, TheFirstLineOfTheSettingsFileNamesTheFolder) {
  const std::vector<std::tuple<std::string, std::string, std::string>> files{
      {"Zorvane.ini", "PFP-path = /first/\r\nPFP-path = /second/\r\n", "/first/"},
      {"Zorvane.ini", "PFP-path = /first/\rsecond", "/first/"},
      {"Zorvane.ini", "PFP-path = /cr/\r", "/cr/"},
      {"Zorvane.ini", "PFP-path =     /games/DATA/    ", "/games/DATA/"},
      {"Zorvane.ini", "PFP-path =/games/DATA\r\n", "/games/DATA"},
      {"Zorvane.ini", "PFP-path =", ""},
      {"Zorvane.ini", "PFP-path= /games/DATA/\r\n", "kept/"},
      {"Zorvane.ini", "pfp-path = /games/DATA/", "kept/"},
      {"Zorvane.ini", " PFP-path = /games/DATA/", "kept/"},
      {"Zorvane.ini", "", "kept/"},
      {"Zorvane.ini", "\r\nPFP-path = /x/\r\n", "kept/"},
      {"zorvane.INI", "PFP-path = /lower/\r\n", "/lower/"}};
  const std::string program = s.program.Path();
  for (const auto& [name, content, folder] : files) {
    std::filesystem::remove(ini);
    testing::WriteFile(program + name, content);
    Session& session = Fresh();
    session.ProgramFolderSource = " " + program.substr(0, program.size() - 1) + " ";
    session.DataFolder = "kept/";
    EXPECT_FALSE(RunStartUp(session) || session.Terminated || !session.SettingsFound);
    EXPECT_EQ(session.ProgramFolder, program);
    EXPECT_EQ(session.DataFolder, folder) << content;
    const std::string again = " - you'll have to set up the folders again.";
    EXPECT_EQ(s.ui.Events().size(), 3u);
    EXPECT_EQ(s.ui.Messages(), (Rows{"Cannot locate " + folder + "PFPDATA.IDX" + again,
                                     "Cannot locate " + folder + "EXT.IDX" + again,
                                     "Cannot locate " + folder + "PFPDATA.IDX" + again}));
  }
  std::filesystem::create_directories(data + "OTHER");
  testing::WriteMemberIndex(data + "OTHER/pfpdata.idx", 0,
                            {testing::Member("B", 1, 0), testing::Member("C", 1, 1)});
  testing::WriteArchiveIndex(data + "OTHER/ext.idx", {testing::Archive("SND", 0)});
  s.ui.QueueFileChoice(data + "OTHER/pfpdata.idx");
  OnSetupMenu(*fresh);
  // The folder of the settings line before (a folder that does not exist) stays in the list.
  EXPECT_EQ(ReadText(program + "zorvane.INI"), "PFP-path = " + data +
                                                  "OTHER/\r\nRecent installation = " + data +
                                                  "OTHER/\r\nRecent installation = /lower/\r\n");
  ASSERT_EQ(fresh->Window.List1.size(), 2u);
  EXPECT_EQ(fresh->Window.List1[1].substr(0, 19), "C           SND.PFP");
}

// Without a settings file the folder dialog asks until a folder holding PFPDATA.IDX is chosen
// (a cancelled dialog gives back the initial name) or the user ends the program. A settings
// file that cannot be written is reported, and the chosen folder still used.
TEST_F(StartUpTest, TheFolderDialogAsksUntilAValidFolderOrTheEnd) {
  const std::string showMe =
      "You have to show the program where your PacGen DATA folder is located.Otherwise the "
      "program cannot work.";
  const std::string title = "Show me your PacGen DATA folder", end = "Terminate the program?";
  const std::vector<std::tuple<Rows, std::vector<Answer>, Rows>> cases{
      {{}, {Answer::Cancel, Answer::Ok}, {title, showMe, end}},
      {{"  " + data + "EXT.IDX  "}, {}, {title}},
      {{"PFPDATA.IDX", s.program / "something.PFP", data + "PFPDATA.IDX"},
       {Answer::Ok, Answer::Cancel, Answer::Cancel},
       {title, showMe, title, showMe, end, title}}};
  for (const auto& [choices, answers, events] : cases) {
    std::filesystem::remove(ini);
    Session& session = Fresh();
    for (const auto& choice : choices) s.ui.QueueFileChoice(choice);
    for (const Answer answer : answers) s.ui.QueueAnswer(answer);
    const bool chosen = !choices.empty(), started = RunStartUp(session);
    EXPECT_EQ((std::vector<bool>{started, !session.Terminated, session.SettingsFound,
                                 !session.Window.List1.empty()}),
              std::vector<bool>(4, chosen));
    Rows shown;
    for (const auto& event : s.ui.Events()) shown.push_back(event.Text);
    EXPECT_EQ(shown, events);
    EXPECT_EQ(s.ui.FileRequests().at(0).Filter, "PacGen Datafiles (*.IDX, *.PFP)|*.IDX;*.PFP");
    EXPECT_EQ(s.ui.FileRequests()[0].InitialName, "PFPDATA.IDX");
    EXPECT_EQ(std::filesystem::exists(ini) ? ReadText(ini) : "",
              chosen ? "PFP-path = " + data + "\r\nRecent installation = " + data + "\r\n" : "");
  }
  std::filesystem::remove(ini);  // the --data option stands for a settings file, not written
  ASSERT_TRUE(RunStartUp(Fresh(), {data.substr(0, data.size() - 1)}));
  EXPECT_TRUE(fresh->DataFolder == data && s.ui.Events().empty() && !std::filesystem::exists(ini));
  Session& session = Fresh();
  session.ProgramFolderSource = s.program / "missing";
  s.ui.QueueFileChoice(data + "PFPDATA.IDX");
  EXPECT_TRUE(RunStartUp(session) && session.SettingsFound);
  const std::string missing = s.program / "missing/";
  EXPECT_EQ(s.ui.Messages(), Rows{"The settings file " + missing +
                                  "Zorvane.ini cannot be written: The folder " + missing +
                                  " does not exist.\r\nThe chosen folder is used until the "
                                  "program ends."});
}

}  // namespace
}  // namespace zorvane::app

namespace zorvane::app {
namespace {

// An installed program keeps its settings in a folder of their own: a settings file an earlier
// version left in the program folder moves there once, with a line that says so; after that,
// and when the settings folder has its own file already, nothing moves.
TEST(SettingsFolder, TakesOverTheProgramFoldersSettingsFileOnce) {
  testing::SampleSession s;
  testing::TempFolder settings;
  const std::string old = s.program / "Zorvane.ini";
  const std::string moved = settings / "Zorvane.ini";
  const std::string content = testing::ReadText(old);
  {
    Session session(s.ui, s.program.Path(), settings.Path());
    ASSERT_TRUE(RunStartUp(session));
    EXPECT_EQ(session.DataFolder, s.data.Path());
  }
  EXPECT_EQ(s.ui.Messages(), std::vector<std::string>{"The settings file " + old +
                                                      " has been moved to " + moved + "."});
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_EQ(testing::ReadText(moved), content);
  testing::WriteFile(old, "PFP-path = /elsewhere/\r\n");
  s.ui.Clear();
  Session again(s.ui, s.program.Path(), settings.Path());
  ASSERT_TRUE(RunStartUp(again));
  EXPECT_EQ(again.DataFolder, s.data.Path());
  EXPECT_TRUE(s.ui.Messages().empty());
  EXPECT_EQ(testing::ReadText(old), "PFP-path = /elsewhere/\r\n");
}

}  // namespace
}  // namespace zorvane::app

namespace zorvane::app {
namespace {

// Setup > Recent installations: the latest folder first, each once, at most five, kept in the
// settings file; a folder that is gone is refused with Setup's message and nothing changes; an
// entry that is there becomes the DATA folder, listed at once; Clear empties the list.
TEST(RecentInstallations, KeepTheLastFiveFoldersAndSwitchWithSetupsChecks) {
  testing::SampleSession s;
  ASSERT_TRUE(RunStartUp(s.session));
  const std::string ini = s.program / "Zorvane.ini";
  const std::string data = s.data.Path();
  for (const char* folder : {"/a/", "/b/", "/c/", "/d/", "/e/", "/c/"}) {
    s.session.DataFolder = folder;
    RememberInstallation(s.session);
  }
  s.session.DataFolder = data;
  RememberInstallation(s.session);
  const std::vector<std::string> expected{data, "/c/", "/e/", "/d/", "/b/"};
  EXPECT_EQ(s.session.RecentInstallations, expected);
  Session again(s.ui, s.program.Path());
  ASSERT_TRUE(RunStartUp(again));
  EXPECT_EQ(again.RecentInstallations, expected);

  s.ui.Clear();
  const std::string before = testing::ReadText(ini);
  EXPECT_FALSE(OpenRecentInstallation(again, 1));
  EXPECT_EQ(s.ui.Messages(), std::vector<std::string>{kShowFolderMessage});
  EXPECT_EQ(again.DataFolder, data);
  EXPECT_EQ(testing::ReadText(ini), before);

  const std::string other = data + "OTHER/";
  std::filesystem::create_directories(other);
  testing::WriteMemberIndex(other + "PFPDATA.IDX", 0,
                            {testing::Member("B", 1, 0), testing::Member("C", 1, 1)});
  testing::WriteArchiveIndex(other + "EXT.IDX", {testing::Archive("SND", 0)});
  again.RecentInstallations[2] = other;
  ClickOption(again, 1);
  ASSERT_TRUE(OpenRecentInstallation(again, 2));
  EXPECT_EQ(again.DataFolder, other);
  EXPECT_EQ(again.RecentInstallations,
            (std::vector<std::string>{other, data, "/c/", "/d/", "/b/"}));
  EXPECT_TRUE(testing::ReadText(ini).starts_with("PFP-path = " + other + "\r\n"));
  EXPECT_EQ(again.Window.List1.size(), 2u);

  ClearRecentInstallations(again);
  EXPECT_TRUE(again.RecentInstallations.empty());
  EXPECT_EQ(testing::ReadText(ini), "PFP-path = " + other + "\r\n");
}

}  // namespace
}  // namespace zorvane::app
