#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "archive/ext_index.h"
#include "archive/member_listing.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"

namespace zorvane::archive {
namespace {

using testing::Archive;
using testing::Member;

std::string Spaces(int n) {
  return std::string(static_cast<std::size_t>(n), ' ');
}

// An installation of three archives and the terminator: TXT (NUL-padded), SHP (NUL-padded) and
// PAL (padded with spaces in EXT.IDX).
class MemberListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteArchiveIndex(temp / "EXT.IDX", {Archive("TXT", 0, 2), Archive("SHP", 2, 5),
                                                  Archive("PAL", 5, 6, ' '), Archive("", 6, 6)});
    testing::WriteMemberIndex(temp / "PFPDATA.IDX", 77,
                              {Member("README", 100, 0), Member("0", 50, 100, ' '),
                               Member("MAINMENU", 300, 0), Member("ICONS", 200, 300),
                               Member("NEG", -5, 500), Member("DAY", 1024, 0), Member("", 0, 0)});
    ASSERT_TRUE(LoadArchiveTable(temp.Path(), tables, ui));
  }

  bool List(ArchiveChoice choice) {
    return ListArchiveMembers(temp.Path(), choice, tables, {rows, toolTip}, ui);
  }

  testing::TempFolder temp;
  IndexTables tables;
  platform::ScriptedUi ui;
  std::vector<std::string> rows;
  std::string toolTip = "unchanged";
};

TEST_F(MemberListingTest, AllArchivesRightAfterLoadingExtIdx) {
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  const std::vector<std::string> expected{
      "README      TXT.PFP" + Spaces(14) + "0" + Spaces(12) + "100",
      "0           TXT.PFP" + Spaces(12) + "100" + Spaces(13) + "50",
      "MAINMENU    SHP.PFP" + Spaces(14) + "0" + Spaces(12) + "300",
      "ICONS       SHP.PFP" + Spaces(12) + "300" + Spaces(12) + "200",
      "NEG         SHP.PFP" + Spaces(12) + "500" + Spaces(13) + "-5",
      "DAY         PAL     .PFP" + Spaces(14) + "0" + Spaces(11) + "1024",
      "            .PFP" + Spaces(14) + "0" + Spaces(14) + "0",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(tables.LastRow, 6);
  EXPECT_EQ(tables.IndexHeader, 77);
  EXPECT_EQ(toolTip, "");
  EXPECT_TRUE(ui.Events().empty());
}

TEST_F(MemberListingTest, LaterListingsShowTheArchiveNamePaddedWithSpaces) {
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(rows[0], "README      TXT     .PFP" + Spaces(14) + "0" + Spaces(12) + "100");
  EXPECT_EQ(rows[6], "                    .PFP" + Spaces(14) + "0" + Spaces(14) + "0");
  EXPECT_EQ(NameBytes(tables.ArchiveTable[1].Name), "SHP     ");
}

TEST_F(MemberListingTest, TheTableHoldsEachRowsRecordWithNulsTurnedToSpaces) {
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  ASSERT_EQ(tables.MemberTable.size(), rows.size());
  EXPECT_EQ(NameBytes(tables.MemberTable[0].Name), "README  ");
  EXPECT_EQ(tables.MemberTable[3], Member("ICONS", 200, 300, ' '));
  // The group starts keep the raw names of their first records.
  ASSERT_EQ(tables.ArchiveFirstMember.size(), 4u);
  EXPECT_EQ(tables.ArchiveFirstMember[0], MakeName("README", '\0'));
  EXPECT_EQ(tables.ArchiveFirstMember[2], MakeName("DAY", '\0'));
  EXPECT_EQ(tables.ArchiveFirstMember[3], MakeName("", '\0'));
}

TEST_F(MemberListingTest, OneArchiveStopsBeforeTheNextGroup) {
  ASSERT_TRUE(List(ArchiveChoice::ShpArchive));
  const std::vector<std::string> expected{
      "MAINMENU    SHP     .PFP" + Spaces(14) + "0" + Spaces(12) + "300",
      "ICONS       SHP     .PFP" + Spaces(12) + "300" + Spaces(12) + "200",
      "NEG         SHP     .PFP" + Spaces(12) + "500" + Spaces(13) + "-5",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(tables.LastRow, 2);
  EXPECT_EQ(toolTip, "Doubleclick to extract and convert a file.");
  ASSERT_EQ(tables.ShpMembers.size(), 3u);
  EXPECT_EQ(tables.ShpMembers[2], Member("NEG", -5, 500, ' '));
  // The record that opens the next archive was met as a group start.
  EXPECT_EQ(tables.ArchiveFirstMember[1], MakeName("MAINMENU", '\0'));
  EXPECT_EQ(tables.ArchiveFirstMember[2], MakeName("DAY", '\0'));
}

TEST_F(MemberListingTest, EachChoiceFillsItsOwnTable) {
  ASSERT_TRUE(List(ArchiveChoice::PalArchive));
  EXPECT_EQ(rows, std::vector<std::string>{"DAY         PAL     .PFP" + Spaces(14) + "0" +
                                           Spaces(11) + "1024"});
  EXPECT_EQ(tables.PalMembers, std::vector{Member("DAY", 1024, 0, ' ')});
  EXPECT_EQ(toolTip, "Doubleclick to extract an BGR palette as binary file.");
  ASSERT_TRUE(List(ArchiveChoice::TilArchive));
  // No archive named TIL: archive 0 is listed under that choice.
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].substr(0, 24), "README      TXT     .PFP");
  EXPECT_EQ(tables.TilMembers.size(), 2u);
  EXPECT_EQ(tables.PalMembers.size(), 1u);
}

TEST_F(MemberListingTest, NoChoiceListsNothing) {
  ASSERT_TRUE(List(ArchiveChoice::None));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(tables.LastRow, -1);
  EXPECT_EQ(toolTip, "unchanged");
}

TEST_F(MemberListingTest, AMissingIndexIsReportedAndTheTablesKept) {
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  std::filesystem::remove(temp / "PFPDATA.IDX");
  EXPECT_FALSE(List(ArchiveChoice::ShpArchive));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(tables.LastRow, 6);
  EXPECT_EQ(tables.MemberTable.size(), 7u);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot locate " + temp.Path() +
                                                    "PFPDATA.IDX - you'll have to set up the "
                                                    "folders again."});
}

TEST_F(MemberListingTest, AFileEndingInsideAGroupEndsTheListing) {
  testing::WriteMemberIndex(
      temp / "PFPDATA.IDX", 0,
      {Member("README", 100, 0), Member("MAINMENU", 300, 0), Member("ICONS", 200, 300)});
  ASSERT_TRUE(List(ArchiveChoice::ShpArchive));
  // SHP's FirstMember (2) names the last record: the listing starts there.
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].substr(0, 8), "ICONS   ");
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(rows.size(), 3u);
}

TEST_F(MemberListingTest, AFirstMemberOutsideTheIndexListsNothing) {
  testing::WriteArchiveIndex(temp / "EXT.IDX", {Archive("SHP", 99), Archive("TIL", -4)});
  ASSERT_TRUE(LoadArchiveTable(temp.Path(), tables, ui));
  ASSERT_TRUE(List(ArchiveChoice::ShpArchive));
  EXPECT_TRUE(rows.empty());
  ASSERT_TRUE(List(ArchiveChoice::TilArchive));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(tables.LastRow, -1);
}

TEST_F(MemberListingTest, MoreThan32767RecordsAreRefused) {
  // Every number 0x01010101: no record opens a group.
  std::vector<std::uint8_t> bytes(4 + 16 * 32768, 1);
  testing::WriteFile(temp / "PFPDATA.IDX", bytes);
  EXPECT_FALSE(List(ArchiveChoice::AllArchives));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(ui.Messages().back(),
            "The file " + temp.Path() +
                "PFPDATA.IDX holds more than 32767 records, the most this tool can read. "
                "Nothing has been read from it.");

  bytes.resize(4 + 16 * 32767 + 15);  // the short last record does not count
  testing::WriteFile(temp / "PFPDATA.IDX", bytes);
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(tables.LastRow, 32766);
}

TEST_F(MemberListingTest, MoreThan256ArchiveGroupsAreRefused) {
  std::vector<MemberRecord> records(257, Member("X", 1, 0));
  testing::WriteMemberIndex(temp / "PFPDATA.IDX", 0, records);
  EXPECT_FALSE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(ui.Messages().back(),
            "The file " + temp.Path() +
                "PFPDATA.IDX describes more than 256 archives, the most this tool can read. "
                "Nothing has been read from it.");
  records.pop_back();
  testing::WriteMemberIndex(temp / "PFPDATA.IDX", 0, records);
  EXPECT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(rows.size(), 256u);
}

TEST(MemberRow, NamesOfEightCharactersAndNegativeNumbers) {
  EXPECT_EQ(MemberRow(MakeName("UNITICON"), "SHP.PFP", -2147483647 - 1, 2147483647),
            "UNITICON    SHP.PFP    -2147483648     2147483647");
  EXPECT_EQ(MemberRow(MakeName("AB", '\0'), "X.PFP", 123456, 0),
            "AB          X.PFP" + Spaces(9) + "123456" + Spaces(14) + "0");
}

// Whatever bytes the index files hold, listing them neither crashes nor reads outside them.
TEST(HostileIndex, RandomIndexFilesAreListedWithoutHarm) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 200; ++round) {
    testing::TempFolder temp;
    std::vector<std::uint8_t> ext(random() % 80), pfp(random() % 400);
    for (auto& byte : ext) byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 0 : random());
    for (auto& byte : pfp) byte = static_cast<std::uint8_t>(random() % 3 == 0 ? 0 : random());
    testing::WriteFile(temp / "EXT.IDX", ext);
    testing::WriteFile(temp / "PFPDATA.IDX", pfp);
    IndexTables tables;
    platform::ScriptedUi ui;
    std::vector<std::string> rows;
    std::string toolTip;
    LoadArchiveTable(temp.Path(), tables, ui);
    for (auto choice : {ArchiveChoice::AllArchives, ArchiveChoice::ShpArchive,
                        ArchiveChoice::TilArchive, ArchiveChoice::PalArchive}) {
      ASSERT_TRUE(ListArchiveMembers(temp.Path(), choice, tables, {rows, toolTip}, ui));
      ASSERT_EQ(static_cast<std::int32_t>(rows.size()) - 1, tables.LastRow);
      ASSERT_EQ(TableFor(tables, choice).size(), rows.size());
    }
  }
}

}  // namespace
}  // namespace zorvane::archive
