#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/temp_folder.h"
#include "tiny_installation.h"
#include "unitdesc/unit_extraction.h"

namespace zorvane::unitdesc {
namespace {

using platform::FaultInjection;
using platform::FileOperation;
using test::Concat;
using test::RecordBytes;
using test::TinyArchive;
using testing::SnapshotFolder;

class ExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override { FaultInjection::Reset(); }
  void TearDown() override { FaultInjection::Reset(); }

  bool Extract() { return ExtractUnitDescriptions(data.Path(), ui); }

  std::string ExtractedText() const {
    return testing::ReadText(data / "EXTRACTS/UnitDescriptions.KRT");
  }
  test::Bytes ExtractedIndex() const { return testing::ReadFile(data / "EXTRACTS/UnitIDX.KRT"); }

  std::string SuccessMessage() const {
    return "Your Unitdescriptions has been extracted to\r\n\r\n" + data.Path() +
           "EXTRACTS/UnitDescriptions.KRT\r\n\r\nan indexfile for this extract has been created "
           "as\r\n\r\n" +
           data.Path() +
           "EXTRACTS/UnitIDX.KRT\r\n\r\nThese two files is needed for this program to be "
           "able\r\nto insert your unitdescriptions in other PacGen installations.";
  }

  testing::TempFolder data;
  platform::ScriptedUi ui;
};

TEST_F(ExtractionTest, WritesTheBlockFromMemberZeroAndItsRecords) {
  test::WriteInstallation(data.Path(), test::TinyArchives());
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedText(), "Unit zero\r\nUnit one\r\nline2\r\n");
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes("0       ", 11, 0), RecordBytes("1       ", 17, 11)}));
  using Event = platform::ScriptedUi::Event;
  using Kind = enum Event::Kind;
  EXPECT_EQ(ui.Events(),
            (std::vector<platform::ScriptedUi::Event>{
                {Kind::Busy, ""}, {Kind::NotBusy, ""}, {Kind::Message, SuccessMessage()}}));
  // Nothing but the two extracts is left in the folder.
  EXPECT_EQ(SnapshotFolder(data / "EXTRACTS").size(), 2u);
}

struct ZeroName {
  std::string Name;
  char Pad;
  std::string Stored;  // the name as UnitIDX.KRT holds it
};

class PaddedZero : public ExtractionTest, public ::testing::WithParamInterface<ZeroName> {};

TEST_P(PaddedZero, CountsAsMemberZero) {
  auto archives = test::TinyArchives();
  archives[0].Members[1].Name = GetParam().Name;
  archives[0].Members[1].Pad = GetParam().Pad;
  test::WriteInstallation(data.Path(), archives);
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes(GetParam().Stored, 11, 0), RecordBytes("1       ", 17, 11)}));
}

INSTANTIATE_TEST_SUITE_P(Names, PaddedZero,
                         ::testing::Values(ZeroName{"0", '\0', "0       "},
                                           ZeroName{"0", ' ', "0       "},
                                           ZeroName{"  0", '\0', "  0     "}));

TEST_F(ExtractionTest, MemberZeroLastInTheFirstArchiveGivesOneRecord) {
  auto archives = test::TinyArchives();
  archives[0].Members.pop_back();
  archives[0].Members.push_back({"2", "Two\r\n"});
  std::swap(archives[0].Members[1], archives[0].Members[2]);  // INTRO, 2, 0
  test::WriteInstallation(data.Path(), archives);
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedText(), "Unit zero\r\n");
  EXPECT_EQ(ExtractedIndex(), RecordBytes("0       ", 11, 0));
}

TEST_F(ExtractionTest, MembersNamedZeroInOtherArchivesAreIgnored) {
  auto archives = test::TinyArchives();
  archives[1].Members.push_back({"0", "sound"});
  archives[2].Members.insert(archives[2].Members.begin() + 1, {"0", "sprite"});
  test::WriteInstallation(data.Path(), archives);
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes("0       ", 11, 0), RecordBytes("1       ", 17, 11)}));
}

TEST_F(ExtractionTest, LineEndsAreCrLfAfterEveryLineAndALoneLfStays) {
  auto archives = test::TinyArchives();
  archives[0].Members[2].Content = "a\nb\rc\r\nlast line";  // no line end at the end
  test::WriteInstallation(data.Path(), archives);
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedText(), "Unit zero\r\na\nb\r\nc\r\nlast line\r\n");
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes("0       ", 11, 0), RecordBytes("1       ", 16, 11)}));
}

TEST_F(ExtractionTest, ExtractingTwiceGivesTheSameFiles) {
  test::WriteInstallation(data.Path(), test::TinyArchives());
  ASSERT_TRUE(Extract());
  const auto first = SnapshotFolder(data.Path());
  ASSERT_TRUE(Extract());
  EXPECT_EQ(SnapshotFolder(data.Path()), first);
}

TEST_F(ExtractionTest, ASecondExtractionOfFewerUnitsKeepsNoRecordOfTheFirst) {
  auto archives = test::TinyArchives();
  archives[0].Members.push_back({"2", "Unit two\r\n"});
  test::WriteInstallation(data.Path(), archives);
  ASSERT_TRUE(Extract());
  ASSERT_EQ(ExtractedIndex().size(), 48u);
  test::WriteInstallation(data.Path(), test::TinyArchives());
  ASSERT_TRUE(Extract());
  EXPECT_EQ(ExtractedText(), "Unit zero\r\nUnit one\r\nline2\r\n");
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes("0       ", 11, 0), RecordBytes("1       ", 17, 11)}));
}

TEST_F(ExtractionTest, AnExtractsFolderInAnotherCaseIsUsed) {
  test::WriteInstallation(data.Path(), test::TinyArchives());
  std::filesystem::create_directory(data / "extracts");
  ASSERT_TRUE(Extract());
  EXPECT_FALSE(std::filesystem::exists(data / "EXTRACTS"));
  EXPECT_EQ(testing::ReadText(data / "extracts/UnitDescriptions.KRT"),
            "Unit zero\r\nUnit one\r\nline2\r\n");
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{SuccessMessage()});
}

struct Refusal {
  std::string Case;
  void (*Prepare)(const std::string& data);
  std::string (*Message)(const std::string& data);
};

class RefusedExtraction : public ExtractionTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedExtraction, ShowsItsMessageAndWritesNothing) {
  test::WriteInstallation(data.Path(), test::TinyArchives());
  GetParam().Prepare(data.Path());
  const auto before = SnapshotFolder(data.Path());
  EXPECT_FALSE(Extract());
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{GetParam().Message(data.Path())});
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedExtraction,
    ::testing::Values(
        Refusal{"NoTextArchive",
                [](const std::string& data) { std::filesystem::remove(data + "TXT.PFP"); },
                [](const std::string&) -> std::string {
                  return "I have not been able to find your TXT.PFP file.\r\nThis file is "
                         "needed for extracting the unitdescriptions.\r\nYou MUST have all the "
                         "files from your PacGen DATA folder in the folder pointed to by the "
                         "setup Folders Menu.";
                }},
        Refusal{"NoMemberIndex",
                [](const std::string& data) { std::filesystem::remove(data + "PFPDATA.IDX"); },
                [](const std::string& data) {
                  return "Cannot locate " + data +
                         "PFPDATA.IDX - you'll have to set up the folders again.";
                }},
        Refusal{"ZeroOnlyInAnotherArchive",
                [](const std::string& data) {
                  auto archives = test::TinyArchives();
                  archives[0].Members[1].Name = "00";
                  archives[2].Members.push_back({"0", "sprite"});
                  test::WriteInstallation(data, archives);
                },
                [](const std::string&) -> std::string {
                  return "Cannot find unitdescriptions in your TXT.PFP file.";
                }},
        Refusal{"BlockPastTheEnd",
                [](const std::string& data) { testing::WriteFile(data + "TXT.PFP", "Hello\r\n"); },
                [](const std::string& data) {
                  return "Cannot find unitdescriptions in your TXT.PFP file.\r\n" + data +
                         "PFPDATA.IDX places them at byte 14, outside " + data +
                         "TXT.PFP (7 bytes).";
                }}),
    [](const auto& info) { return info.param.Case; });

class FailingExtraction : public ExtractionTest,
                          public ::testing::WithParamInterface<FileOperation> {};

// Earlier extracts of more units are in place; whichever operation fails, they stay as they
// were, both of them.
TEST_P(FailingExtraction, LeavesTheEarlierExtractsAsTheyWere) {
  auto archives = test::TinyArchives();
  archives[0].Members.push_back({"2", "Unit two\r\n"});
  test::WriteInstallation(data.Path(), archives);
  if (GetParam() != FileOperation::CreateFolder) {
    ASSERT_TRUE(Extract());
  }
  test::WriteInstallation(data.Path(), test::TinyArchives());
  const auto before = SnapshotFolder(data.Path());
  const int failures = test::FailEachOperationInTurn(
      GetParam(),
      [this] {
        ui.Clear();
        return Extract();
      },
      [&](int n) {
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].starts_with("The unitdescriptions have not been extracted:\r\n"))
            << messages[0];
        EXPECT_TRUE(messages[0].ends_with(
            ": Injected fault\r\nEarlier extracts, if any, are as they were."))
            << messages[0];
        EXPECT_NE(messages[0].find(data.Path()), std::string::npos) << messages[0];
        ASSERT_EQ(SnapshotFolder(data.Path()), before) << "fault at operation " << n;
      });
  EXPECT_GT(failures, 0);
  EXPECT_EQ(ExtractedText(), "Unit zero\r\nUnit one\r\nline2\r\n");
  EXPECT_EQ(ExtractedIndex(),
            Concat({RecordBytes("0       ", 11, 0), RecordBytes("1       ", 17, 11)}));
  EXPECT_EQ(SnapshotFolder(data / "EXTRACTS").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingExtraction,
                         ::testing::Values(FileOperation::CreateFolder, FileOperation::Create,
                                           FileOperation::Write, FileOperation::Flush,
                                           FileOperation::Rename),
                         test::OperationName);

// Removing the replaced extracts comes after both new files are in place: a failure there is
// tried once more and leaves no file behind.
TEST_F(ExtractionTest, AFailedRemovalOfTheReplacedExtractsIsTriedAgain) {
  test::WriteInstallation(data.Path(), test::TinyArchives());
  ASSERT_TRUE(Extract());
  for (int n = 1; n <= 2; ++n) {
    FaultInjection::Reset();
    FaultInjection::FailAt(FileOperation::Delete, n, "Injected fault");
    ASSERT_TRUE(Extract());
    EXPECT_GE(FaultInjection::Count(FileOperation::Delete), 2);
    EXPECT_EQ(SnapshotFolder(data / "EXTRACTS").size(), 2u);
  }
}

}  // namespace
}  // namespace zorvane::unitdesc
