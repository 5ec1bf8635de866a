#include <gtest/gtest.h>

#include "app/main_window_events.h"
#include "app/unit_description_menu.h"
#include "archive/index_files.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::app {
namespace {

class UnitDescriptionMenuTest : public ::testing::Test {
 protected:
  UnitDescriptionMenuTest() : session(ui, program.Path()) {}

  void SetUp() override {
    ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
    ASSERT_TRUE(RunStartUp(session, {data.Path()}));
  }

  testing::TempFolder program;
  testing::TempFolder data;
  platform::ScriptedUi ui;
  Session session;
};

// The insertion reads the complete index itself: what the window listed last, and what its
// tables hold, make no difference.
TEST_F(UnitDescriptionMenuTest, InsertionWorksOnTheCompleteIndexWhicheverArchiveIsListed) {
  ASSERT_TRUE(OnExtractUnitDescriptionsMenu(session));
  ASSERT_TRUE(ClickOption(session, 3));
  session.Index.MemberTable.resize(5);
  session.Index.ArchiveFirstMember.clear();
  const auto textBefore = testing::ReadFile(data / "TXT.PFP");
  ui.Clear();
  ui.QueueFileChoice(data / "EXTRACTS/UnitDescriptions.KRT");
  ASSERT_TRUE(OnInsertUnitDescriptionsMenu(session));
  EXPECT_TRUE(testing::ReadFile(data / "TXT.PFP") == textBefore);
  const auto index = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX"));
  EXPECT_EQ(index.Header, 0);
  EXPECT_EQ(index.Records.size(),
            archive::ParseMemberIndex(testing::ReadFile(data / "OLD_PFPDATA.IDX")).Records.size());
  EXPECT_EQ(session.UnitExtracts.ExtractFolder, data / "EXTRACTS/");
  EXPECT_EQ(session.UnitExtracts.UnitRecords.size(), 40u);
  // EXT.IDX was loaded again and the TIL.PFP list refreshed from the new files.
  const auto archives = archive::ParseArchiveIndex(testing::ReadFile(data / "EXT.IDX"));
  ASSERT_EQ(session.Index.ArchiveLast + 1, static_cast<int>(archives.size()));
  EXPECT_EQ(session.Index.ArchiveTable[3].FirstMember, archives[3].FirstMember);
  ASSERT_FALSE(session.Window.List1.empty());
  EXPECT_EQ(session.Window.List1.size(), session.Index.TilMembers.size());
  EXPECT_TRUE(session.Window.List1[0].starts_with("T_CLR_DD    TIL     .PFP"))
      << session.Window.List1[0];
  const auto messages = ui.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("Unitdescriptions inserted.\r\n")) << messages[0];
}

}  // namespace
}  // namespace zorvane::app
