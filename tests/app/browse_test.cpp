#include <gtest/gtest.h>

#include <filesystem>

#include "app/browse_model.h"
#include "app/browse_preview.h"
#include "app/settings.h"
#include "archive/index_files.h"
#include "platform/little_endian.h"
#include "support/sample_session.h"

namespace zorvane::app {
namespace {

using testing::ReadFile;

struct FilterCase {
  const char* Name;
  const char* Filter;
  bool Matches;
};

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, MatchesAPartOfTheNameWithWildcardsWithoutRegardToCase) {
  EXPECT_EQ(MatchesFilter(GetParam().Name, GetParam().Filter), GetParam().Matches);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FilterTest,
    ::testing::Values(FilterCase{"UNITICON", "", true}, FilterCase{"UNITICON", "tic", true},
                      FilterCase{"UNITICON", "ticx", false},
                      FilterCase{"TURN01_U", "turn0?_u", true},
                      FilterCase{"TURN01U", "turn0?_u", false}, FilterCase{"T_RIV_DD", "t*v", true},
                      FilterCase{"T_RIV_DD", "v*t", false}, FilterCase{"AB", "a?", true},
                      FilterCase{"A", "a?", false}, FilterCase{"AAAB", "a*ab", true},
                      FilterCase{"ABAB", "*b*b*", true}, FilterCase{"AB", "**", true}));

struct LayoutCase {
  const char* Line;
  std::optional<BrowseLayout> Layout;
};

class LayoutLineTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutLineTest, ReadsWholeNumbersFromOneToOneHundredThousand) {
  EXPECT_EQ(BrowseLayoutFromLine(GetParam().Line), GetParam().Layout);
}

INSTANTIATE_TEST_SUITE_P(Lines, LayoutLineTest,
                         ::testing::Values(LayoutCase{"Browse window = 900 600 300 600 500 120",
                                                      BrowseLayout{900, 600, {300, 600, 500, 120}}},
                                           LayoutCase{"Browse window =  1  100000 ",
                                                      BrowseLayout{1, 100000, {}}},
                                           LayoutCase{"Browse window = 900", std::nullopt},
                                           LayoutCase{"Browse window = 900 0", std::nullopt},
                                           LayoutCase{"Browse window = 900 100001", std::nullopt},
                                           LayoutCase{"Browse window = 900 6x0", std::nullopt},
                                           LayoutCase{"browse window = 900 600", std::nullopt},
                                           LayoutCase{"PFP-path = /games/DATA/", std::nullopt}));

TEST(BrowseLayoutTest, ReplacesItsLineAndKeepsEveryOther) {
  const std::string line = BrowseLayoutLine({800, 500, {200, 600}});
  EXPECT_EQ(line, "Browse window = 800 500 200 600\r\n");
  const auto with = [&line](std::string_view settings) {
    return WithSettingsLine(settings, kBrowseLayoutKey, line);
  };
  EXPECT_EQ(with("PFP-path = /d/\r\n"), "PFP-path = /d/\r\n" + line);
  EXPECT_EQ(with("PFP-path = /d/"), "PFP-path = /d/\r\n" + line);
  EXPECT_EQ(with("PFP-path = /d/\rBrowse window = 1 1\r\nPicture format = PNG\r\nBrowse window "
                 "= 2 2\r\n"),
            "PFP-path = /d/\r\n" + line + "Picture format = PNG\r\n");
  EXPECT_EQ(with("PFP-path = /d/\r\nPicture format = PNG\r\n"),
            "PFP-path = /d/\r\nPicture format = PNG\r\n" + line);
  EXPECT_EQ(with(""), line);
}

// Read back by a new session, kept when the DATA folder is chosen again, and ignored by the
// reading of the folder.
TEST(BrowseLayoutTest, TheSettingsFileKeepsTheLayoutBesideTheFolder) {
  testing::SampleSession s;
  ASSERT_TRUE(RunStartUp(s.session));
  SaveBrowseLayout(s.session, {700, 400, {300, 400}});
  ChoosePictureFormat(s.session, graphics::PictureFormat::Sheet);
  const std::string ini = s.program / "Zorvane.ini";
  const std::string lines = "PFP-path = " + s.data.Path() +
                            "\r\nBrowse window = 700 400 300 400\r\nPicture format = PNG sheet\r\n";
  EXPECT_EQ(testing::ReadText(ini), lines);
  Session again(s.ui, s.program.Path());
  ASSERT_TRUE(RunStartUp(again));
  EXPECT_EQ(again.DataFolder, s.data.Path());
  EXPECT_EQ(again.BrowseLayout, (BrowseLayout{700, 400, {300, 400}}));
  EXPECT_EQ(again.Extraction.Format, graphics::PictureFormat::Sheet);
  std::filesystem::remove(ini);
  s.ui.QueueFileChoice(s.data / "PFPDATA.IDX");
  ASSERT_TRUE(RunStartUp(again));
  EXPECT_EQ(testing::ReadText(ini), "PFP-path = " + s.data.Path() + "\r\nRecent installation = " +
                                        s.data.Path() + lines.substr(lines.find("\r\n")));
}

TEST(BrowsePreviewTest, HexDumpShowsOffsetsBytesAndCharacters) {
  std::vector<std::uint8_t> bytes{'P', 'F', 0, 0x7F, 0xFF, ' ', '~'};
  bytes.resize(18, 'z');
  EXPECT_EQ(HexDump(bytes),
            "00000000  50 46 00 7F FF 20 7E 7A 7A 7A 7A 7A 7A 7A 7A 7A  PF... ~zzzzzzzzz\n"
            "00000010  7A 7A                                            zz\n");
  EXPECT_EQ(TextOfMember(testing::BytesOf("one\r\ntwo\rthree\nx")), "one\ntwo\nthree\nx\n");
}

class BrowseOnSampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RunStartUp(s.session));
    ASSERT_TRUE(ListBrowseRows(s.session, rows));
  }
  const BrowseRow& Row(const std::string& name) const {
    for (const BrowseRow& row : rows)
      if (row.Name == name) return row;
    throw std::runtime_error("no member " + name);
  }
  testing::SampleSession s;
  std::vector<BrowseRow> rows;
};

// Every record of the index, with its archive and kind; the main window's list stays as it was.
TEST_F(BrowseOnSampleTest, ListsEveryMemberWithItsArchiveAndKind) {
  const auto before = s.session.Window.List1;
  ASSERT_TRUE(ListBrowseRows(s.session, rows));
  EXPECT_EQ(s.session.Window.List1, before);
  EXPECT_EQ(rows.size(),
            archive::ParseMemberIndex(ReadFile(s.data / "PFPDATA.IDX")).Records.size());
  std::vector<std::string> seen;
  for (const char* name : {"STRINGS", "AUDIO", "UNITICON", "T_RIV_DD", "DAY"}) {
    const BrowseRow& row = Row(name);
    seen.push_back(row.Archive + " " + std::string(KindName(row.Kind)));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"TXT.PFP text", "SND.PFP sound", "SHP.PFP sprite",
                                            "TIL.PFP tile", "PAL.PFP palette"}));
}

// Sub-images of the sample lie back to back: each one's coded rows end where the next begins.
TEST_F(BrowseOnSampleTest, CodedLengthReachesTheNextSubImage) {
  const BrowseRow& row = Row("UNITICON");
  const auto sprite = graphics::SpriteView::Open(LocationOf(s.session, row));
  ASSERT_TRUE(sprite);
  const auto archive = ReadFile(s.data / "SHP.PFP");
  const std::uint8_t* file = archive.data() + row.Offset;
  ASSERT_GT(sprite.Value()->SubImageCount(), 2);
  for (int i = 0; i + 1 < sprite.Value()->SubImageCount(); ++i) {
    const auto shown = sprite.Value()->Decode(i, true);
    ASSERT_TRUE(shown);
    const std::int32_t next = platform::ReadInt32(file + 8 + 8 * (i + 1));
    const std::int32_t self = platform::ReadInt32(file + 8 + 8 * i);
    EXPECT_EQ(shown.Value().CodedLength, static_cast<std::uint64_t>(next - self - 24)) << i;
  }
}

TEST_F(BrowseOnSampleTest, RefusesWhatCannotBeShownOrExtractedInWords) {
  BrowseRow outside = Row("UNITICON");
  outside.Length = 1 << 30;
  const auto shp = s.data / "SHP.PFP";
  const auto length = std::to_string(std::filesystem::file_size(shp));
  EXPECT_EQ(graphics::SpriteView::Open(LocationOf(s.session, outside)).Reason(),
            "UNITICON cannot be shown: its 1073741824 bytes at offset " +
                std::to_string(outside.Offset) + " do not lie in " + shp + ", which holds " +
                length + " bytes.");
  std::filesystem::remove(s.data / "TIL.PFP");
  EXPECT_EQ(graphics::ReadMemberStart(LocationOf(s.session, Row("T_RIV_DD")), 10).Reason(),
            "T_RIV_DD cannot be shown: its archive " + s.data / "TIL.PFP" + " does not exist.");
  const auto before = testing::SnapshotFolder(s.data.Path());
  ExtractBrowsedMembers(s.session, {Row("AUDIO")});
  EXPECT_EQ(s.ui.Messages(), std::vector<std::string>{"AUDIO is a member of SND.PFP: only the "
                                                      "members of SHP.PFP, TIL.PFP and PAL.PFP "
                                                      "are extracted."});
  EXPECT_EQ(testing::SnapshotFolder(s.data.Path()), before);
}

}  // namespace
}  // namespace zorvane::app
