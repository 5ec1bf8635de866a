#include <gtest/gtest.h>

#include <filesystem>

#include "insertion_test_support.h"
#include "small_installation.h"
#include "support/index_builder.h"

namespace zorvane::archive {
namespace {

using platform::ScriptedUi;
using testing::BytesOf;
using testing::SmallIndexBytes;
using testing::SmallIndexRecords;
using testing::SnapshotFolder;
using testing::WithRecords;
using Changes = std::map<std::size_t, std::pair<std::int32_t, std::int32_t>>;

class SmallInstallation : public testing::InsertionFixture {
 protected:
  void SetUp() override { testing::WriteSmallInstallation(data.Path()); }
};

struct ReplacementCase {
  const char* Label;
  std::string FileName;
  std::string Content;
  std::string Archive;     // the archive that holds the member
  std::string NewArchive;  // its bytes afterwards
  Changes Records;         // record -> {Length, Offset} in the new PFPDATA.IDX
};

void PrintTo(const ReplacementCase& c, std::ostream* out) {
  *out << c.Label;
}

class Replacement : public SmallInstallation,
                    public ::testing::WithParamInterface<ReplacementCase> {};

// The archive and PFPDATA.IDX are new, the previous ones are the backups, and every other file
// (EXT.IDX, the other archives) is as it was.
TEST_P(Replacement, RewritesTheArchiveAndTheIndexKeepingBackups) {
  const ReplacementCase& c = GetParam();
  const auto before = SnapshotFolder(data.Path());
  ASSERT_EQ(InsertFile(c.FileName, c.Content), InsertionOutcome::Inserted);

  auto expected = before;
  expected[c.Archive + ".PFP"] = BytesOf(c.NewArchive);
  expected[c.Archive + "_OLD.PFP"] = before.at(c.Archive + ".PFP");
  expected["PFPDATA.IDX"] = SmallIndexBytes(WithRecords(SmallIndexRecords(), c.Records));
  expected["PFPDATA_OLD.IDX"] = before.at("PFPDATA.IDX");
  EXPECT_EQ(SnapshotFolder(data.Path()), expected);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{testing::InsertionCompleted(
                               edits / c.FileName, data.Path(), c.Archive)});
  EXPECT_EQ(tables.RewriteTable, WithRecords(SmallIndexRecords(), c.Records));
}

INSTANTIATE_TEST_SUITE_P(
    Members, Replacement,
    ::testing::Values(
        // O = 0: no leading bytes; every later member of SHP moves.
        ReplacementCase{"FirstMemberOfAnArchive",
                        "MAINMENU.SHP",
                        "NEW-MENU-LONGER",
                        "SHP",
                        "NEW-MENU-LONGERiconsbuttonscurs",
                        {{2, {15, 0}}, {3, {5, 15}}, {4, {7, 20}}, {5, {4, 27}}}},
        // 100 bytes longer: the later members of SHP move by 100, PAL's records stay.
        ReplacementCase{"MiddleMemberLonger",
                        "ICONS.SHP",
                        std::string(105, '+'),
                        "SHP",
                        "mainmenu" + std::string(105, '+') + "buttonscurs",
                        {{3, {105, 8}}, {4, {7, 113}}, {5, {4, 120}}}},
        // BUTTONS of SHP, the first of the two members of that name.
        ReplacementCase{"MiddleMemberShorter",
                        "BUTTONS.SHP",
                        "bt",
                        "SHP",
                        "mainmenuiconsbtcurs",
                        {{4, {2, 13}}, {5, {4, 15}}}},
        // The next record opens PAL and keeps Offset 0; SHP ends with the new content.
        ReplacementCase{"LastMemberOfAnArchive",
                        "CURSORS.SHP",
                        "cursors-new",
                        "SHP",
                        "mainmenuiconsbuttonscursors-new",
                        {{5, {11, 20}}}},
        ReplacementCase{"MemberOfAnotherArchive",
                        "DAY.SHP",
                        "night-palette-bytes",
                        "PAL",
                        "night-palette-bytesbtn",
                        {{6, {19, 0}}, {7, {3, 19}}}},
        ReplacementCase{"LowerCaseFileName",
                        "readme.shp",
                        "READ",
                        "TXT",
                        "READcredits",
                        {{0, {4, 0}}, {1, {7, 4}}}},
        ReplacementCase{"ExtensionNotLookedAt",
                        "Icons.bmp",
                        "ICONS!",
                        "SHP",
                        "mainmenuICONS!buttonscurs",
                        {{3, {6, 8}}, {4, {7, 14}}, {5, {4, 21}}}}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST_F(SmallInstallation, WritesTheHeaderAndEveryNameBackByteForByte) {
  ASSERT_EQ(InsertFile("ICONS.SHP", "ic"), InsertionOutcome::Inserted);
  const testing::Bytes index = testing::ReadFile(data / "PFPDATA.IDX");
  ASSERT_EQ(index.size(), 4u + 9 * 16);
  EXPECT_EQ(testing::Bytes(index.begin(), index.begin() + 4),
            (testing::Bytes{0x0A, 0x0B, 0x0C, 0x0D}));
  const auto nameOf = [&](int record) {
    return std::string(index.begin() + 4 + 16 * record, index.begin() + 12 + 16 * record);
  };
  EXPECT_EQ(nameOf(0), std::string("README\0\0", 8));
  EXPECT_EQ(nameOf(3), "ICONS   ");
  EXPECT_EQ(nameOf(4), std::string("BUTTONS\0", 8));
  EXPECT_EQ(nameOf(8), std::string(8, '\0'));
  // ICONS: length 2 at offset 8; BUTTONS moved to 10; the terminator 0 and 0.
  EXPECT_EQ(testing::Bytes(index.begin() + 4 + 16 * 3 + 8, index.begin() + 4 + 16 * 5),
            (testing::Bytes{2,   0,   0,   0, 8, 0, 0, 0, 'B', 'U', 'T', 'T',
                            'O', 'N', 'S', 0, 7, 0, 0, 0, 10,  0,   0,   0}));
  EXPECT_EQ(testing::Bytes(index.end() - 8, index.end()), testing::Bytes(8, 0));
}

TEST_F(SmallInstallation, AsksForTheFileThenShowsTheBusyPointerWhileWriting) {
  ASSERT_EQ(InsertFile("ICONS.SHP", "ic"), InsertionOutcome::Inserted);
  ASSERT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_EQ(ui.FileRequests()[0].Title, "Select the SHP-file you want to insert.");
  EXPECT_EQ(ui.FileRequests()[0].Filter, "SHP-files for insertions (*.SHP)|*.SHP");
  EXPECT_EQ(ui.FileRequests()[0].InitialName, "");
  using Kind = decltype(ScriptedUi::Event::Kind);
  std::vector<Kind> kinds;
  for (const auto& event : ui.Events()) kinds.push_back(event.Kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::FileDialog, Kind::Busy, Kind::NotBusy, Kind::Message}));
  EXPECT_FALSE(ui.Busy());
}

TEST_F(SmallInstallation, ACancelledDialogSaysAndChangesNothing) {
  const auto before = SnapshotFolder(data.Path());
  EXPECT_EQ(InsertShpFile(data.Path(), tables, ui), InsertionOutcome::Cancelled);
  EXPECT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

TEST_F(SmallInstallation, ASecondInsertionReplacesTheBackups) {
  ASSERT_EQ(InsertFile("ICONS.SHP", "ic"), InsertionOutcome::Inserted);
  const auto afterFirst = SnapshotFolder(data.Path());
  ASSERT_EQ(InsertFile("CURSORS.SHP", "cursor"), InsertionOutcome::Inserted);

  auto expected = afterFirst;
  expected["SHP.PFP"] = BytesOf("mainmenuicbuttonscursor");
  expected["SHP_OLD.PFP"] = afterFirst.at("SHP.PFP");
  expected["PFPDATA.IDX"] =
      SmallIndexBytes(WithRecords(SmallIndexRecords(), {{3, {2, 8}}, {4, {7, 10}}, {5, {6, 17}}}));
  expected["PFPDATA_OLD.IDX"] = afterFirst.at("PFPDATA.IDX");
  EXPECT_EQ(SnapshotFolder(data.Path()), expected);
}

TEST_F(SmallInstallation, FilesAreFoundWithoutRegardToCaseAndKeepTheirSpelling) {
  std::filesystem::rename(data / "SHP.PFP", data / "shp.pfp");
  std::filesystem::rename(data / "PFPDATA.IDX", data / "pfpdata.idx");
  testing::WriteFile(data / "Shp_Old.Pfp", "older archive");
  ASSERT_EQ(InsertFile("ICONS.SHP", "ic"), InsertionOutcome::Inserted);
  const auto after = SnapshotFolder(data.Path());
  EXPECT_EQ(after.at("shp.pfp"), BytesOf("mainmenuicbuttonscurs"));
  EXPECT_EQ(after.at("Shp_Old.Pfp"), BytesOf("mainmenuiconsbuttonscurs"));
  EXPECT_EQ(
      after.at("pfpdata.idx"),
      SmallIndexBytes(WithRecords(SmallIndexRecords(), {{3, {2, 8}}, {4, {7, 10}}, {5, {4, 17}}})));
  EXPECT_EQ(after.at("PFPDATA_OLD.IDX"), SmallIndexBytes(SmallIndexRecords()));
  EXPECT_EQ(after.size(), 7u);
  // The message names the files as the program forms their paths.
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{testing::InsertionCompleted(
                               edits / "ICONS.SHP", data.Path(), "SHP")});
}

// The tables as the command leaves them: both indexes reloaded, the names it passed
// normalised, RewriteTable the index as written. The member list itself is not refreshed.
TEST_F(SmallInstallation, LeavesTheTablesReloaded) {
  tables.LastRow = 2;
  tables.ArchiveTable.assign(6, testing::Archive("STALE", 1));
  ASSERT_EQ(InsertFile("BUTTONS.SHP", "bt"), InsertionOutcome::Inserted);
  EXPECT_EQ(tables.LastRow, 8);
  EXPECT_EQ(tables.ArchiveLast, 3);
  EXPECT_EQ(tables.IndexHeader, testing::kSmallIndexHeader);
  EXPECT_EQ(NameBytes(tables.ArchiveTable[1].Name), "SHP     ");
  EXPECT_EQ(tables.ArchiveTable[4], testing::Archive("STALE", 1));  // past EXT.IDX's records
  ASSERT_EQ(tables.MemberTable.size(), 9u);
  EXPECT_EQ(NameBytes(tables.MemberTable[4].Name), "BUTTONS ");
  EXPECT_EQ(NameBytes(tables.MemberTable[5].Name), std::string_view("CURSORS\0", 8));
  EXPECT_EQ(tables.MemberTable[4].Length, 7);
}

}  // namespace
}  // namespace zorvane::archive
