#include <gtest/gtest.h>

#include "archive/archive_choice.h"
#include "archive/ext_index.h"
#include "archive/installation_check.h"
#include "archive/member_listing.h"
#include "small_installation.h"

namespace zorvane::archive {
namespace {

using testing::Archive;
using testing::DataFile;
using testing::Member;
using testing::Removed;
using testing::SmallIndex;
using testing::Written;
using Rows = std::vector<std::string>;

TEST(IndexRecord, IsSixteenLittleEndianBytes) {
  std::vector<std::uint8_t> bytes;
  AppendRecord(bytes, MemberRecord{MakeName("DAY", '\0'), 1024, -2});
  AppendRecord(bytes, ArchiveRecord{MakeName("SHP", ' '), 0x01020304, 0x20202020});
  const std::vector<std::uint8_t> expected{
      'D', 'A', 'Y', 0,   0,   0,   0,   0,   0x00, 0x04, 0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF,
      'S', 'H', 'P', ' ', ' ', ' ', ' ', ' ', 0x04, 0x03, 0x02, 0x01, 0x20, 0x20, 0x20, 0x20};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(DecodeMemberRecord(bytes.data()), (MemberRecord{MakeName("DAY", '\0'), 1024, -2}));
  EXPECT_EQ(DecodeArchiveRecord(bytes.data() + 16),
            (ArchiveRecord{MakeName("SHP", ' '), 0x01020304, 0x20202020}));
}

// GroupOfEachRecord: -1 before the first group start. A header cut short keeps its bytes.
TEST(MemberIndex, GroupsAndShortHeader) {
  const std::vector<MemberRecord> records{Member("A", 5, 3), Member("B", 5, 0), Member("C", 3, 5),
                                          Member("D", 3, 0), Member("", 0, 0)};
  EXPECT_EQ(GroupOfEachRecord(records), (std::vector<int>{-1, 0, 0, 1, 2}));
  EXPECT_EQ(ParseMemberIndex(std::vector<std::uint8_t>{0x01, 0x02}).Header, 0x0201);
}

// Each EXT.IDX (named in lower case) is loaded over {A, B, C} with ArchiveLast 9: it overwrites
// only its own entries (entry 0 even when empty, to a record of nothing), a short last record
// is ignored, and a refused file leaves both as they were.
TEST(LoadArchiveTable, FillsTheTableFromEachFile) {
  const auto a = Archive("A", 0), b = Archive("B", 1), c = Archive("C", 2);
  const auto txt = Archive("TXT", 0, 3), shp = Archive("SHP", 3, 5), end = Archive("", 5, 5);
  auto shortRecord = SerialiseArchiveIndex(std::vector{txt, shp});
  shortRecord.resize(shortRecord.size() + 15, 0xEE);
  testing::TempFolder temp;
  const std::string path = temp / "EXT.IDX";
  const std::vector<ArchiveRecord> kept{a, b, c};
  const std::tuple<std::optional<testing::Bytes>, int, std::vector<ArchiveRecord>, std::string>
      cases[] = {{SerialiseArchiveIndex(std::vector{txt, shp, end}), 2, {txt, shp, end}, ""},
                 {shortRecord, 1, {txt, shp, c}, ""},
                 {testing::Bytes{}, 0, {ArchiveRecord{}, b, c}, ""},
                 {testing::Bytes(16 * 256 + 15, 'A'), 255,
                  std::vector(256, Archive("AAAAAAAA", 0x41414141, 0x41414141)), ""},
                 {std::nullopt, 9, kept,
                  "Cannot locate " + path + " - you'll have to set up the folders again."},
                 {testing::Bytes(16 * 257, 'A'), 9, kept,
                  "The file " + path +
                      " holds more than 256 records, the most this tool can read. Nothing has been "
                      "read from it."}};
  for (const auto& [file, last, table, message] : cases) {
    std::filesystem::remove(temp / "ext.idx");
    if (file) testing::WriteFile(temp / "ext.idx", *file);
    IndexTables tables;
    tables.ArchiveTable = kept;
    tables.ArchiveLast = 9;
    platform::ScriptedUi ui;
    EXPECT_EQ(LoadArchiveTable(temp.Path(), tables, ui), message.empty()) << last;
    EXPECT_EQ(tables.ArchiveLast, last);
    EXPECT_EQ(tables.ArchiveTable, table) << last;
    EXPECT_EQ(ui.Messages(), message.empty() ? Rows{} : Rows{message});
  }
}

// The rows of the small installation once a listing has padded the archive names with spaces.
const Rows kPadded{"README      TXT     .PFP              0             10",
                   "credits     TXT     .PFP             10              7",
                   "MAINMENU    SHP     .PFP              0              8",
                   "ICONS       SHP     .PFP              8              5",
                   "BUTTONS     SHP     .PFP             13              7",
                   "CURSORS     SHP     .PFP             20              4",
                   "DAY         PAL     .PFP              0             12",
                   "BUTTONS     PAL     .PFP             12              3",
                   "                    .PFP              0              0"};

class MemberListing : public testing::SmallInstallation {
 protected:
  void SetUp() override {
    SmallInstallation::SetUp();
    ASSERT_TRUE(LoadArchiveTable(data.Path(), tables, ui));
  }
  bool List(ArchiveChoice choice) {
    return ListArchiveMembers(data.Path(), choice, tables, {rows, toolTip}, ui);
  }
  Rows rows;
  std::string toolTip = "unchanged";
};

// The first listing shows the archive names as EXT.IDX pads them.
TEST_F(MemberListing, AllArchives) {
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(rows, (Rows{"README      TXT.PFP              0             10",
                        "credits     TXT.PFP             10              7",
                        "MAINMENU    SHP.PFP              0              8",
                        "ICONS       SHP.PFP              8              5",
                        "BUTTONS     SHP.PFP             13              7",
                        "CURSORS     SHP.PFP             20              4", kPadded[6], kPadded[7],
                        kPadded[8]}));
  EXPECT_EQ(tables.LastRow, 8);
  EXPECT_EQ(tables.IndexHeader, testing::kSmallIndexHeader);
  EXPECT_EQ(toolTip, "");
  EXPECT_TRUE(ui.Events().empty());
  // Each row's record with NULs turned to spaces; each group start's raw name.
  ASSERT_EQ(tables.MemberTable.size(), 9u);
  EXPECT_EQ(tables.MemberTable[0], Member("README", 10, 0, ' '));
  EXPECT_EQ(tables.ArchiveFirstMember, (std::vector{MakeName("README", '\0'), MakeName("MAINMENU"),
                                                    MakeName("DAY", '\0'), MakeName("", '\0')}));
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  EXPECT_EQ(rows, kPadded);
}

// One archive's group, into its own table; without an archive named TIL, archive 0 is listed
// under that choice.
TEST_F(MemberListing, OneArchive) {
  const std::string convert = "Doubleclick to extract and convert a file.";
  const std::string palette = "Doubleclick to extract an BGR palette as binary file.";
  const std::tuple<ArchiveChoice, int, int, std::string> choices[] = {
      {ArchiveChoice::ShpArchive, 2, 6, convert},
      {ArchiveChoice::TilArchive, 0, 2, convert},
      {ArchiveChoice::PalArchive, 6, 8, palette}};
  for (const auto& [choice, first, end, tip] : choices) {
    ASSERT_TRUE(List(choice));
    EXPECT_EQ(rows, Rows(kPadded.begin() + first, kPadded.begin() + end));
    EXPECT_EQ(TableFor(tables, choice).size(), static_cast<std::size_t>(end - first));
    EXPECT_EQ(toolTip, tip);
    EXPECT_EQ(tables.LastRow, end - first - 1);
  }
  toolTip = "unchanged";
  ASSERT_TRUE(List(ArchiveChoice::None));
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(tables.LastRow, -1);
  EXPECT_EQ(toolTip, "unchanged");
}

// A group cut short by the end of the file, then first members outside it.
TEST_F(MemberListing, RecordNumbersAreKeptWithinTheFile) {
  testing::WriteMemberIndex(
      data / "PFPDATA.IDX", 0,
      {Member("README", 1, 0), Member("MAINMENU", 3, 0), Member("ICONS", 2, 3)});
  ASSERT_TRUE(List(ArchiveChoice::ShpArchive));  // SHP's FirstMember 2 is the last record
  EXPECT_EQ(rows, Rows{"ICONS                     3              2"});  // no group start met
  testing::WriteArchiveIndex(data / "EXT.IDX", {Archive("SHP", 99), Archive("TIL", -4)});
  ASSERT_TRUE(LoadArchiveTable(data.Path(), tables, ui));
  for (auto choice : {ArchiveChoice::ShpArchive, ArchiveChoice::TilArchive}) {
    ASSERT_TRUE(List(choice));
    EXPECT_EQ(tables.LastRow, -1);
  }
}

// A missing PFPDATA.IDX, or one over its limits, is refused and the tables are kept; it may
// hold 32767 records (a short last one not counted) in 256 groups.
TEST_F(MemberListing, RefusedAndLargestIndexFiles) {
  const std::string file = data / "PFPDATA.IDX";
  const std::string tail = ", the most this tool can read. Nothing has been read from it.";
  const std::tuple<std::optional<testing::Bytes>, std::string, int> cases[] = {
      {std::nullopt, "Cannot locate " + file + " - you'll have to set up the folders again.", 8},
      // Every number 0x01010101: no record opens a group.
      {testing::Bytes(4 + 16 * 32768, 1),
       "The file " + file + " holds more than 32767 records" + tail, 8},
      {SerialiseMemberIndex(0, std::vector(257, Member("X", 1, 0))),
       "The file " + file + " describes more than 256 archives" + tail, 8},
      {testing::Bytes(4 + 16 * 32767 + 15, 1), "", 32766},
      {SerialiseMemberIndex(0, std::vector(256, Member("X", 1, 0))), "", 255}};
  ASSERT_TRUE(List(ArchiveChoice::AllArchives));
  for (const auto& [bytes, message, lastRow] : cases) {
    std::filesystem::remove(file);
    if (bytes) testing::WriteFile(file, *bytes);
    ui.Clear();
    EXPECT_EQ(List(ArchiveChoice::AllArchives), message.empty());
    EXPECT_EQ(ui.Messages(), message.empty() ? Rows{} : Rows{message});
    EXPECT_EQ(tables.LastRow, lastRow);
    EXPECT_EQ(tables.MemberTable.size(), message.empty() ? lastRow + 1u : 9u);
  }
}

// A damage done to the small installation and every line the check gives for it; '@' stands
// for the DATA folder. An empty last member, and an archive found under another case, are fine.
TEST(InstallationCheck, NamesEveryProblem) {
  auto noTerminator = testing::SmallArchiveRecords();
  noTerminator.pop_back();
  noTerminator.at(1).FirstMember = 3;
  noTerminator.at(2) = Archive("../PAL", 6);
  auto cutIndex = testing::SmallIndexBytes();
  cutIndex.resize(cutIndex.size() - 16 + 3, 'x');
  auto longExt = SerialiseArchiveIndex(testing::SmallArchiveRecords());
  longExt.push_back('!');
  const std::vector<std::pair<std::vector<DataFile>, Rows>> damages{
      {{}, {}},
      {{Written(".zorvane-journal", "x"), Removed("EXT.IDX")},
       {"An interrupted change of @ has not been finished or undone (the hidden file "
        ".zorvane-journal is there).",
        "The index file @EXT.IDX does not exist."}},
      {{Removed("PFPDATA.IDX")}, {"The index file @PFPDATA.IDX does not exist."}},
      {{Written("PFPDATA.IDX", "head")},
       {"The index file @PFPDATA.IDX holds no records, not even the terminator."}},
      {{{"PFPDATA.IDX", cutIndex}, {"EXT.IDX", longExt}},
       {"The index file @PFPDATA.IDX does not end on a whole record: it has 135 bytes, which is "
        "not 4 plus a multiple of 16.",
        "The index file @EXT.IDX does not end on a whole record: it has 65 bytes, which is not a "
        "multiple of 16.",
        "The last record of @PFPDATA.IDX, BUTTONS, is not the terminator: its Offset is 12, not "
        "0."}},
      {{{"EXT.IDX", SerialiseArchiveIndex(noTerminator)}},
       {"The index files do not describe the same archives: @EXT.IDX has 3 records, but "
        "@PFPDATA.IDX has 3 archive groups, which need 4 (one more for the terminator).",
        "In @EXT.IDX, record 1 (SHP) has FirstMember 3, but its group in PFPDATA.IDX starts at "
        "record 2.",
        "In @EXT.IDX, the name '../PAL' of record 2 is not the name of a file."}},
      {{Removed("PAL.PFP"), SmallIndex({{5, {0, 20}}}), Removed("SHP.PFP"),
        Written("shp.pfp", "mainmenuiconsbuttons")},
       {"The archive @PAL.PFP does not exist."}},
      {{SmallIndex({{1, {-7, 10}}, {3, {5, 9}}}), Written("SHP.PFP", "mainmenuiconsbuttonscu"),
        Written("PAL.PFP", "day-palette.btnX")},
       {"In @TXT.PFP, the member credits (record 1 of PFPDATA.IDX) has a negative length, -7.",
        "In @SHP.PFP, the member ICONS (record 3 of PFPDATA.IDX) starts at byte 9 instead of 8, "
        "right after the member before it.",
        "In @SHP.PFP, the member BUTTONS (record 4 of PFPDATA.IDX) starts at byte 13 instead of "
        "14, right after the member before it.",
        "In @SHP.PFP, the member CURSORS (record 5 of PFPDATA.IDX) at byte 20 with length 4 goes "
        "past the end of the archive (22 bytes).",
        "@PAL.PFP has 1 byte after its last member BUTTONS (record 7 of PFPDATA.IDX)."}}};
  for (const auto& [files, lines] : damages) {
    testing::TempFolder data;
    testing::WriteSmallInstallation(data.Path());
    testing::Apply(data.Path(), files);
    Rows expected = lines;
    for (std::string& line : expected) {
      for (auto at = line.find('@'); at != std::string::npos; at = line.find('@', at))
        line.replace(at, 1, data.Path());
    }
    EXPECT_EQ(CheckInstallation(data.Path()), expected);
  }
}

// One archive of 35 one-byte members, each but the first a byte later than it should be.
TEST(InstallationCheck, ShowsThirtyProblemsOfAnArchiveThenCountsTheRest) {
  testing::TempFolder data;
  std::vector<MemberRecord> records;
  for (int r = 0; r < 35; ++r) records.push_back(Member("M" + std::to_string(r), 1, 2 * r));
  records.push_back(Member("", 0, 0));
  testing::WriteMemberIndex(data / "PFPDATA.IDX", 0, records);
  testing::WriteArchiveIndex(data / "EXT.IDX", {Archive("BIG", 0), Archive("", 35)});
  testing::WriteFile(data / "BIG.PFP", std::string(69, 'b'));
  const Rows problems = CheckInstallation(data.Path());
  ASSERT_EQ(problems.size(), 31u);
  EXPECT_EQ(problems[1], "In " + data.Path() +
                             "BIG.PFP, the member M2 (record 2 of PFPDATA.IDX) starts at byte 4 "
                             "instead of 3, right after the member before it.");
  EXPECT_EQ(problems.back(), "... and 4 more problems in " + data.Path() + "BIG.PFP.");
}

}  // namespace
}  // namespace zorvane::archive
