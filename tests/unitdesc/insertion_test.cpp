#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <tuple>

#include "archive/index_files.h"
#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"
#include "tiny_installation.h"
#include "unitdesc/unit_extraction.h"
#include "unitdesc/unit_insertion.h"

namespace zorvane::unitdesc {
namespace {

using platform::FaultInjection;
using platform::FileOperation;
using test::Bytes;
using test::RecordBytes;
using test::TinyUnit;
using testing::SnapshotFolder;

constexpr std::int32_t kSpaces = 0x20202020;
constexpr char kPrefix[] = "Hello\r\nWorld\r\n";  // INTRO, the member before "0"

// A record as expected in a rewritten index: the name as the 8 bytes written, two numbers.
using Row = std::tuple<std::string, std::int32_t, std::int32_t>;

Bytes MemberIndexBytes(const std::vector<Row>& rows) {
  Bytes bytes = test::HeaderBytes(0);
  for (const auto& [name, length, offset] : rows) {
    const Bytes record = RecordBytes(name, length, offset);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

Bytes ArchiveIndexBytes(const std::vector<Row>& rows) {
  Bytes bytes;
  for (const auto& [name, first, end] : rows) {
    const Bytes record = RecordBytes(name, first, end);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

std::string Unusable(const std::string& folder) {
  return "cannot find all needed Extractfiles in folder:" + folder +
         "\r\nMake sure that you have a folder with both the *.KRT files and point to that.";
}

class InsertionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FaultInjection::Reset();
    test::WriteInstallation(data.Path(), test::TinyArchives());
  }
  void TearDown() override { FaultInjection::Reset(); }

  bool Insert() {
    ui.QueueFileChoice(extract.Path() + "UnitDescriptions.KRT");
    return InsertUnitDescriptions(data.Path(), extracts, ui, [this] { ++reloads; });
  }

  std::string SuccessMessage() const {
    const std::string& d = data.Path();
    return "Unitdescriptions inserted.\r\nThe files used for insertion is:\r\n" + extract.Path() +
           "UnitDescriptions.KRT\r\n" + extract.Path() + "UnitIDX.KRT\r\nFiles Affected is:\r\n" +
           d + "TXT.PFP\r\n" + d + "PFPDATA.IDX\r\n" + d + "EXT.IDX\r\nYour previous files has " +
           "been renamed:\r\n" + d + "OLD_TXT.PFP\r\n" + d + "OLD_PFPDATA.IDX\r\n" + d +
           "OLD_EXT.IDX\r\nTo restore your old files, just delete the new ones and rename the "
           "OLD_*.* files";
  }

  testing::TempFolder data;
  testing::TempFolder extract;
  platform::ScriptedUi ui;
  UnitExtracts extracts;
  int reloads = 0;
};

// Runs out of memory as the files are about to be written: the busy pointer is set just
// before, inside each command.
class OutOfMemoryUi : public platform::ScriptedUi {
 public:
  void SetBusy(bool busy) override {
    if (busy) throw std::bad_alloc();
    ScriptedUi::SetBusy(busy);
  }
};

TEST_F(InsertionTest, RunningOutOfMemoryIsReportedAndChangesNothing) {
  ASSERT_TRUE(ExtractUnitDescriptions(data.Path(), ui));
  const auto before = SnapshotFolder(data.Path());
  OutOfMemoryUi failing;
  failing.QueueFileChoice(data.Path() + "EXTRACTS/UnitDescriptions.KRT");
  EXPECT_FALSE(InsertUnitDescriptions(data.Path(), extracts, failing, [this] { ++reloads; }));
  EXPECT_FALSE(ExtractUnitDescriptions(data.Path(), failing));
  EXPECT_EQ(failing.Messages(),
            (std::vector<std::string>{"The unitdescriptions have not been inserted:\r\nThere is "
                                      "not enough memory.\r\nYour TXT.PFP, PFPDATA.IDX and "
                                      "EXT.IDX are as they were.",
                                      "The unitdescriptions have not been extracted:\r\nThere is "
                                      "not enough memory.\r\nEarlier extracts, if any, are as "
                                      "they were."}));
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
  EXPECT_EQ(reloads, 0);
}

struct InsertionCase {
  std::string Case;
  std::string Text;
  std::vector<TinyUnit> Units;
  std::string InsertedText;  // what follows the kept members in TXT.PFP
  std::vector<Row> Members;
  std::vector<Row> Archives;
};

class Insertion : public InsertionTest, public ::testing::WithParamInterface<InsertionCase> {};

TEST_P(Insertion, RewritesTheThreeFilesAndKeepsThePreviousOnes) {
  auto before = SnapshotFolder(data.Path());
  test::WriteExtract(extract.Path(), GetParam().Text, GetParam().Units);
  ASSERT_TRUE(Insert());
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{SuccessMessage()});
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(testing::ReadText(data / "TXT.PFP"), kPrefix + GetParam().InsertedText);
  EXPECT_EQ(testing::ReadFile(data / "PFPDATA.IDX"), MemberIndexBytes(GetParam().Members));
  EXPECT_EQ(testing::ReadFile(data / "EXT.IDX"), ArchiveIndexBytes(GetParam().Archives));
  auto after = SnapshotFolder(data.Path());
  EXPECT_EQ(after.at("OLD_TXT.PFP"), before.at("TXT.PFP"));
  EXPECT_EQ(after.at("OLD_PFPDATA.IDX"), before.at("PFPDATA.IDX"));
  EXPECT_EQ(after.at("OLD_EXT.IDX"), before.at("EXT.IDX"));
  // The other archives are untouched and nothing else was left behind.
  for (const char* name :
       {"TXT.PFP", "PFPDATA.IDX", "EXT.IDX", "OLD_TXT.PFP", "OLD_PFPDATA.IDX", "OLD_EXT.IDX"}) {
    after.erase(name);
  }
  for (const char* name : {"TXT.PFP", "PFPDATA.IDX", "EXT.IDX"}) before.erase(name);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(extracts.Loaded);
  EXPECT_EQ(extracts.ExtractFolder, extract.Path());
  EXPECT_EQ(extracts.UnitRecords.size(), GetParam().Units.size());
}

const std::vector<Row> kRestOfTheIndex{
    {"AUDIO   ", 100, 0}, {"BEEP    ", 50, 100}, {"MAIN    ", 300, 0}, {"        ", 0, 0}};

std::vector<Row> WithRest(std::vector<Row> rows) {
  rows.insert(rows.end(), kRestOfTheIndex.begin(), kRestOfTheIndex.end());
  return rows;
}

std::vector<Row> Archives(std::int32_t sndFirst) {
  return {{"TXT     ", 0, sndFirst},
          {"SND     ", sndFirst, sndFirst + 2},
          {"SHP     ", sndFirst + 2, sndFirst + 3},
          {"        ", kSpaces, kSpaces}};
}

INSTANTIATE_TEST_SUITE_P(
    Extracts, Insertion,
    ::testing::Values(
        InsertionCase{"TheInstallationsOwn",
                      "Unit zero\r\nUnit one\r\nline2\r\n",
                      {{"0", 11}, {"1", 17}},
                      "Unit zero\r\nUnit one\r\nline2\r\n",
                      WithRest({{"INTRO   ", 14, 0}, {"0       ", 11, 14}, {"1       ", 17, 25}}),
                      Archives(3)},
        InsertionCase{"MoreUnits",
                      "AAA\r\nBBBB\r\nCCCCC\r\n",
                      {{"0", 5}, {"1", 6}, {"2", 7}},
                      "AAA\r\nBBBB\r\nCCCCC\r\n",
                      WithRest({{"INTRO   ", 14, 0},
                                {"0       ", 5, 14},
                                {"1       ", 6, 19},
                                {"2       ", 7, 25}}),
                      Archives(4)},
        InsertionCase{"FewerUnits",
                      "Only one\r\n",
                      {{"0", 10}},
                      "Only one\r\n",
                      WithRest({{"INTRO   ", 14, 0}, {"0       ", 10, 14}}),
                      Archives(2)},
        InsertionCase{"NoLineEndAfterTheLastLine",
                      "AAA\r\nBBBB",
                      {{"0", 5}, {"1", 6}},
                      "AAA\r\nBBBB\r\n",
                      WithRest({{"INTRO   ", 14, 0}, {"0       ", 5, 14}, {"1       ", 6, 19}}),
                      Archives(3)},
        InsertionCase{"EmptyText",
                      "",
                      {{"0", 0}},
                      "",
                      WithRest({{"INTRO   ", 14, 0}, {"0       ", 0, 14}}),
                      Archives(2)}),
    [](const auto& info) { return info.param.Case; });

TEST_F(InsertionTest, ASecondInsertionReplacesTheBackupsOfTheFirst) {
  test::WriteExtract(extract.Path(), "AAA\r\nBBBB\r\nCCCCC\r\n", {{"0", 5}, {"1", 6}, {"2", 7}});
  ASSERT_TRUE(Insert());
  const auto first = SnapshotFolder(data.Path());
  test::WriteExtract(extract.Path(), "Only one\r\n", {{"0", 10}});
  ASSERT_TRUE(Insert());
  const auto second = SnapshotFolder(data.Path());
  EXPECT_EQ(second.at("OLD_TXT.PFP"), first.at("TXT.PFP"));
  EXPECT_EQ(second.at("OLD_PFPDATA.IDX"), first.at("PFPDATA.IDX"));
  EXPECT_EQ(second.at("OLD_EXT.IDX"), first.at("EXT.IDX"));
  EXPECT_EQ(testing::ReadText(data / "TXT.PFP"), std::string(kPrefix) + "Only one\r\n");
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(reloads, 2);
}

TEST_F(InsertionTest, NamesOfTheExtractLoseTheirNulsAndArePaddedWithSpaces) {
  testing::WriteFile(extract / "UnitDescriptions.KRT", "AAA\r\nBBBB\r\n");
  testing::WriteFile(extract / "UnitIDX.KRT",
                     test::Concat({RecordBytes(std::string("0\0\0\0\0\0\0\0", 8), 5, 0),
                                   RecordBytes(std::string("\0"
                                                           "12\0\0\0\0\0",
                                                           8),
                                               6, 5)}));
  ASSERT_TRUE(Insert());
  EXPECT_EQ(
      testing::ReadFile(data / "PFPDATA.IDX"),
      MemberIndexBytes(WithRest({{"INTRO   ", 14, 0}, {"0       ", 5, 14}, {"12      ", 6, 19}})));
}

// The other archive files are not rewritten, so their members keep the offsets the index
// gives them, even where an archive has bytes between its members.
TEST_F(InsertionTest, MembersOfTheOtherArchivesKeepTheirOffsets) {
  testing::WriteMemberIndex(
      data / "PFPDATA.IDX", 5,
      {testing::Member("INTRO", 14, 0), testing::Member("0", 11, 14), testing::Member("1", 17, 25),
       testing::Member("AUDIO", 100, 0), testing::Member("BEEP", 50, 120),
       testing::Member("MAIN", 300, 0), testing::Member("", 0, 0)});
  test::WriteExtract(extract.Path(), "Only one\r\n", {{"0", 10}});
  ASSERT_TRUE(Insert());
  EXPECT_EQ(testing::ReadFile(data / "PFPDATA.IDX"), MemberIndexBytes({{"INTRO   ", 14, 0},
                                                                       {"0       ", 10, 14},
                                                                       {"AUDIO   ", 100, 0},
                                                                       {"BEEP    ", 50, 120},
                                                                       {"MAIN    ", 300, 0},
                                                                       {"        ", 0, 0}}));
}

// The members before "0" keep their bytes and offsets, whatever their line ends.
TEST_F(InsertionTest, TheTextBeforeTheUnitsIsKeptByteForByte) {
  auto archives = test::TinyArchives();
  archives[0].Members[0].Content = "Hello\rWor\nld\r\n";
  test::WriteInstallation(data.Path(), archives);
  test::WriteExtract(extract.Path(), "Only one\r\n", {{"0", 10}});
  ASSERT_TRUE(Insert());
  EXPECT_EQ(testing::ReadText(data / "TXT.PFP"), "Hello\rWor\nld\r\nOnly one\r\n");
  EXPECT_EQ(testing::ReadFile(data / "PFPDATA.IDX"),
            MemberIndexBytes(WithRest({{"INTRO   ", 14, 0}, {"0       ", 10, 14}})));
}

// The installation of the synthetic sample: its own extract gives back the same TXT.PFP and the
// same records, apart from the header and the padding of the names.
TEST(InsertionOfTheSample, ItsOwnExtractGivesBackTheSameFiles) {
  testing::TempFolder data;
  ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {}));
  const auto before = SnapshotFolder(data.Path());
  platform::ScriptedUi ui;
  ASSERT_TRUE(ExtractUnitDescriptions(data.Path(), ui));
  ui.QueueFileChoice(data / "EXTRACTS/UnitDescriptions.KRT");
  UnitExtracts extracts;
  ASSERT_TRUE(InsertUnitDescriptions(data.Path(), extracts, ui, {}));
  EXPECT_EQ(extracts.UnitRecords.size(), 40u);
  EXPECT_TRUE(testing::ReadFile(data / "TXT.PFP") == before.at("TXT.PFP"));
  EXPECT_TRUE(testing::ReadFile(data / "OLD_TXT.PFP") == before.at("TXT.PFP"));
  auto members = archive::ParseMemberIndex(before.at("PFPDATA.IDX"));
  ASSERT_NE(members.Header, 0);
  for (auto& record : members.Records) archive::NormaliseName(record.Name);
  const auto rewritten = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX"));
  EXPECT_EQ(rewritten.Header, 0);
  EXPECT_EQ(rewritten.Records, members.Records);
  auto archives = archive::ParseArchiveIndex(before.at("EXT.IDX"));
  for (auto& record : archives) archive::NormaliseName(record.Name);
  EXPECT_EQ(archive::ParseArchiveIndex(testing::ReadFile(data / "EXT.IDX")), archives);
}

struct UnusableExtract {
  std::string Case;
  void (*Prepare)(const std::string& extract);
};

class UnusableExtracts : public InsertionTest,
                         public ::testing::WithParamInterface<UnusableExtract> {};

TEST_P(UnusableExtracts, AreRefusedWithBothMessagesAndChangeNothing) {
  test::WriteExtract(extract.Path(), "AAA\r\n", {{"0", 5}});
  GetParam().Prepare(extract.Path());
  const auto before = SnapshotFolder(data.Path());
  EXPECT_FALSE(Insert());
  EXPECT_EQ(ui.Messages(), (std::vector<std::string>{Unusable(extract.Path()),
                                                     "Cannot find the extracts for inserting."}));
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
  EXPECT_FALSE(extracts.Loaded);
  EXPECT_EQ(reloads, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Extracts, UnusableExtracts,
    ::testing::Values(
        UnusableExtract{"NoIndex",
                        [](const std::string& e) { std::filesystem::remove(e + "UnitIDX.KRT"); }},
        UnusableExtract{
            "NoText",
            [](const std::string& e) { std::filesystem::remove(e + "UnitDescriptions.KRT"); }},
        UnusableExtract{"EmptyIndex",
                        [](const std::string& e) { testing::WriteFile(e + "UnitIDX.KRT", ""); }},
        UnusableExtract{"PartOfARecord",
                        [](const std::string& e) {
                          testing::WriteFile(
                              e + "UnitIDX.KRT",
                              test::Concat({RecordBytes("0       ", 5, 0), Bytes{'x'}}));
                        }},
        UnusableExtract{"NegativeLength",
                        [](const std::string& e) {
                          testing::WriteFile(e + "UnitIDX.KRT", RecordBytes("0       ", -5, 0));
                        }}),
    [](const auto& info) { return info.param.Case; });

TEST_F(InsertionTest, ACancelledDialogLooksInTheRootFolder) {
  const auto before = SnapshotFolder(data.Path());
  EXPECT_FALSE(InsertUnitDescriptions(data.Path(), extracts, ui, [this] { ++reloads; }));
  ASSERT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_EQ(ui.FileRequests()[0].Title,
            "Show me Folder where you have placed the Extracts of the unitdescriptions");
  EXPECT_EQ(ui.FileRequests()[0].Filter, "PacGen Extractfiles (*.KRT)|*.KRT");
  EXPECT_EQ(ui.FileRequests()[0].InitialName, "UnitDescriptions.KRT");
  EXPECT_EQ(extracts.ExtractFolder, "/");
  EXPECT_EQ(ui.Messages(),
            (std::vector<std::string>{Unusable("/"), "Cannot find the extracts for inserting."}));
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

struct ExtractFolderCase {
  std::string Chosen;
  std::string Folder;
};

class ExtractFolderRule : public ::testing::TestWithParam<ExtractFolderCase> {};

TEST_P(ExtractFolderRule, IsThePathUpToItsLastSeparatorTrimmed) {
  EXPECT_EQ(ExtractFolderOf(GetParam().Chosen), GetParam().Folder);
}

INSTANTIATE_TEST_SUITE_P(Paths, ExtractFolderRule,
                         ::testing::Values(ExtractFolderCase{"/a/b/UnitIDX.KRT", "/a/b/"},
                                           ExtractFolderCase{"  /a/b/x", "/a/b/"},
                                           ExtractFolderCase{"/a/b/", "/a/b/"},
                                           ExtractFolderCase{"UnitDescriptions.KRT", "/"},
                                           ExtractFolderCase{"", "/"}));

}  // namespace
}  // namespace zorvane::unitdesc
