#include <gtest/gtest.h>

#include <algorithm>

#include "app/insert_menu.h"
#include "app/main_window_events.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

class InsertMenuTest : public ::testing::Test {
 protected:
  InsertMenuTest() : session(ui, program.Path()) {}

  void SetUp() override {
    ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
    ASSERT_TRUE(RunStartUp(session, {data.Path()}));
    ASSERT_TRUE(ClickOption(session, 2));  // the SHP.PFP list
    ui.Clear();
  }

  std::size_t RowOf(const std::string& name) const {
    const auto& rows = session.Window.List1;
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const std::string& text) {
      return text.starts_with(name + std::string(12 - name.size(), ' '));
    });
    EXPECT_NE(row, rows.end()) << name;
    return static_cast<std::size_t>(row - rows.begin());
  }

  testing::TempFolder program;
  testing::TempFolder data;
  testing::TempFolder edits;
  platform::ScriptedUi ui;
  Session session;
};

// The rows keep the old numbers until the next listing, which shows the new ones.
TEST_F(InsertMenuTest, InsertsWithoutRefreshingTheList) {
  const std::vector<std::string> rowsBefore = session.Window.List1;
  const std::size_t buttons = RowOf("BUTTONS");
  const std::size_t cursors = RowOf("CURSORS");
  testing::WriteFile(edits / "buttons.shp", std::string(1000, 'b'));
  ui.QueueFileChoice(edits / "buttons.shp");

  OnInsertShpFileMenu(session);
  EXPECT_EQ(session.LastInsertion, archive::InsertionOutcome::Inserted);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_TRUE(ui.Messages()[0].starts_with("Insertion of file:\r\n" + (edits / "buttons.shp") +
                                           "\r\ninto \r\n" + data.Path() + "SHP.PFP\r\n"));
  EXPECT_EQ(session.Window.List1, rowsBefore);

  ASSERT_TRUE(ListArchiveMembers(session));
  const auto& rows = session.Window.List1;
  // Name, archive and offset columns (24 + 15 characters) unchanged, the new length.
  EXPECT_EQ(rows[buttons], rowsBefore[buttons].substr(0, 39) + std::string(11, ' ') + "1000");
  const long buttonsOffset = std::stol(rowsBefore[buttons].substr(24, 15));
  EXPECT_EQ(std::stol(rows[cursors].substr(24, 15)), buttonsOffset + 1000);
}

TEST_F(InsertMenuTest, RecordsACancelledAndARefusedInsertion) {
  const auto before = testing::SnapshotFolder(data.Path());
  OnInsertShpFileMenu(session);
  EXPECT_EQ(session.LastInsertion, archive::InsertionOutcome::Cancelled);
  EXPECT_TRUE(ui.Messages().empty());

  testing::WriteFile(edits / "UNKNOWN.SHP", "x");
  ui.QueueFileChoice(edits / "UNKNOWN.SHP");
  OnInsertShpFileMenu(session);
  EXPECT_EQ(session.LastInsertion, archive::InsertionOutcome::Refused);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"I couldn't find the file UNKNOWN, you have "
                                                    "to insert a file that is allready known to "
                                                    "PacGen."});
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

}  // namespace
}  // namespace zorvane::app
