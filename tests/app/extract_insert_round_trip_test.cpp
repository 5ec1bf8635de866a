#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/insert_menu.h"
#include "app/main_window_events.h"
#include "app/row_dispatch.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

struct MemberCase {
  int Option;  // 2: SHP.PFP, 3: TIL.PFP
  const char* Member;
  const char* Archive;
  const char* Folder;
};

class ExtractThenInsert : public ::testing::TestWithParam<MemberCase> {
 protected:
  ExtractThenInsert() : session(ui, program.Path()) {}

  testing::TempFolder program;
  testing::TempFolder data;
  platform::ScriptedUi ui;
  Session session;
};

// A member extracted by a double-click and inserted unchanged by the Insert menu gives back the
// archive and the index byte for byte; only the backups are new.
TEST_P(ExtractThenInsert, GivesTheSameArchiveAndIndex) {
  ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
  const auto before = testing::SnapshotFolder(data.Path());
  ASSERT_TRUE(RunStartUp(session, {data.Path()}));
  ASSERT_TRUE(ClickOption(session, GetParam().Option));
  const auto& rows = session.Window.List1;
  const auto row = std::find_if(rows.begin(), rows.end(), [](const std::string& text) {
    return text.starts_with(GetParam().Member);
  });
  ASSERT_NE(row, rows.end());
  session.Window.ListIndex = static_cast<int>(row - rows.begin());
  OnList1DoubleClick(session);
  const std::string extracted =
      data.Path() + "TOVRIN_PFP/" + GetParam().Folder + "/" + GetParam().Member + ".SHP";
  ASSERT_TRUE(std::filesystem::exists(extracted)) << extracted;

  ui.QueueFileChoice(extracted);
  OnInsertShpFileMenu(session);
  ASSERT_EQ(session.LastInsertion, archive::InsertionOutcome::Inserted);

  const auto after = testing::SnapshotFolder(data.Path());
  for (const auto& [name, bytes] : before) EXPECT_EQ(after.at(name), bytes) << name;
  EXPECT_EQ(after.at(std::string(GetParam().Archive) + "_OLD.PFP"),
            before.at(std::string(GetParam().Archive) + ".PFP"));
  EXPECT_EQ(after.at("PFPDATA_OLD.IDX"), before.at("PFPDATA.IDX"));
}

INSTANTIATE_TEST_SUITE_P(SampleMembers, ExtractThenInsert,
                         ::testing::Values(MemberCase{2, "MAINMENU", "SHP", "ICONS"},
                                           MemberCase{2, "UNITICON", "SHP", "ICONS"},
                                           MemberCase{2, "PANELS", "SHP", "ICONS"},
                                           MemberCase{3, "T_CLR_DD", "TIL", "TILES"},
                                           MemberCase{3, "T_DES_DD", "TIL", "TILES"}));

}  // namespace
}  // namespace zorvane::app
