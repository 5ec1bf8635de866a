#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"
#include "tiny_installation.h"
#include "unitdesc/unit_insertion.h"

namespace zorvane::unitdesc {
namespace {

using platform::FaultInjection;
using platform::FileOperation;
using test::TinyUnit;
using testing::SnapshotFolder;

constexpr char kNothingChanged[] = "\r\nNothing has been changed.";

class RefusalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FaultInjection::Reset();
    test::WriteInstallation(data.Path(), test::TinyArchives());
    test::WriteExtract(extract.Path(), "AAA\r\nBBBB\r\nCCCCC\r\n", {{"0", 5}, {"1", 6}, {"2", 7}});
  }
  void TearDown() override { FaultInjection::Reset(); }

  bool Insert() {
    ui.QueueFileChoice(extract.Path() + "UnitDescriptions.KRT");
    return InsertUnitDescriptions(data.Path(), extracts, ui, [this] { ++reloads; });
  }

  testing::TempFolder data;
  testing::TempFolder extract;
  platform::ScriptedUi ui;
  UnitExtracts extracts;
  int reloads = 0;
};

struct Refusal {
  std::string Case;
  void (*Prepare)(const std::string& data, const std::string& extract);
  std::string (*Message)(const std::string& data, const std::string& extract);
};

class RefusedInsertion : public RefusalTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedInsertion, ShowsItsMessageAndChangesNoFile) {
  GetParam().Prepare(data.Path(), extract.Path());
  const auto before = SnapshotFolder(data.Path());
  const auto extractBefore = SnapshotFolder(extract.Path());
  EXPECT_FALSE(Insert());
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{GetParam().Message(data.Path(), extract.Path())});
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
  EXPECT_EQ(SnapshotFolder(extract.Path()), extractBefore);
  EXPECT_EQ(reloads, 0);
  EXPECT_FALSE(ui.Busy());
}

void Rewrite(const std::string& data, void (*change)(std::vector<test::TinyArchive>&)) {
  auto archives = test::TinyArchives();
  change(archives);
  test::WriteInstallation(data, archives);
}

std::string Disagree(const std::string& data, const std::string& detail) {
  return "The archives in " + data + "PFPDATA.IDX and " + data + "EXT.IDX do not agree:\r\n" +
         detail + kNothingChanged;
}

std::string MissingDataFile(const std::string& data, const std::string&) {
  return "Cannot find " + data + "PFPDATA.IDX or " + data + "EXT.IDX or " + data + "TXT.PFP";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInsertion,
    ::testing::Values(
        Refusal{"NoPfpdataIdx",
                [](const std::string& d, const std::string&) {
                  std::filesystem::remove(d + "PFPDATA.IDX");
                },
                MissingDataFile},
        Refusal{"NoExtIdx",
                [](const std::string& d, const std::string&) {
                  std::filesystem::remove(d + "EXT.IDX");
                },
                MissingDataFile},
        Refusal{"NoTxtPfp",
                [](const std::string& d, const std::string&) {
                  std::filesystem::remove(d + "TXT.PFP");
                },
                MissingDataFile},
        Refusal{"NoMemberZero",
                [](const std::string& d, const std::string&) {
                  Rewrite(d, [](auto& archives) { archives[0].Members[1].Name = "00"; });
                },
                [](const std::string&, const std::string&) -> std::string {
                  return "Cannot find unitdescriptions in your TXT.PFP file.";
                }},
        Refusal{"MemberZeroOnlyInAnotherArchive",
                [](const std::string& d, const std::string&) {
                  Rewrite(d, [](auto& archives) {
                    archives[0].Members[1].Name = "Z";
                    archives[2].Members.push_back({"0", "zero"});
                  });
                },
                [](const std::string&, const std::string&) -> std::string {
                  return "Cannot find unitdescriptions in your TXT.PFP file.";
                }},
        Refusal{"NoAudio",
                [](const std::string& d, const std::string&) {
                  Rewrite(d, [](auto& archives) { archives[1].Members[0].Name = "SOUND"; });
                },
                [](const std::string& d, const std::string&) {
                  return "Cannot find the member AUDIO in " + d +
                         "PFPDATA.IDX. The unitdescriptions end where it begins." + kNothingChanged;
                }},
        Refusal{"AudioNotFirstOfTheSecondArchive",
                [](const std::string& d, const std::string&) {
                  Rewrite(d, [](auto& archives) {
                    std::swap(archives[1].Members[0], archives[1].Members[1]);
                  });
                },
                [](const std::string& d, const std::string&) {
                  return "The member AUDIO in " + d +
                         "PFPDATA.IDX is not the first member of the second archive, where the "
                         "unitdescriptions end." +
                         kNothingChanged;
                }},
        Refusal{"ExtIdxWithoutItsEndRecord",
                [](const std::string& d, const std::string&) {
                  auto bytes = testing::ReadFile(d + "EXT.IDX");
                  bytes.resize(bytes.size() - 16);
                  testing::WriteFile(d + "EXT.IDX", bytes);
                },
                [](const std::string& d, const std::string&) {
                  return Disagree(d,
                                  "PFPDATA.IDX holds 4 groups of members (the terminator "
                                  "included), EXT.IDX 3 archive records.");
                }},
        Refusal{"PfpdataIdxWithoutTerminator",
                [](const std::string& d, const std::string&) {
                  Rewrite(d, [](auto& archives) {
                    archives[2].Members.push_back({"ICONS", "icons"});
                  });
                  auto bytes = testing::ReadFile(d + "PFPDATA.IDX");
                  bytes.resize(bytes.size() - 16);
                  testing::WriteFile(d + "PFPDATA.IDX", bytes);
                },
                [](const std::string& d, const std::string&) {
                  return Disagree(d,
                                  "The last record of PFPDATA.IDX is not the terminator that "
                                  "follows the last archive (a record with offset 0).");
                }},
        Refusal{"AUnitNamedAsTheFirstMemberOfAnArchive",
                [](const std::string&, const std::string& e) {
                  test::WriteExtract(e, "AAA\r\nBBBB\r\n", {{"0", 5}, {"AUDIO", 6}});
                },
                [](const std::string& d, const std::string&) {
                  return Disagree(d,
                                  "After the insertion the archive SND.PFP could not be found "
                                  "again by the name of its first member, 'AUDIO': a member "
                                  "before it has that name.");
                }},
        Refusal{"LengthsPastTheText",
                [](const std::string&, const std::string& e) {
                  test::WriteExtract(e, "AAA\r\n", {{"0", 5}, {"1", 6}});
                },
                [](const std::string&, const std::string& e) {
                  return "The lengths in " + e + "UnitIDX.KRT add up to 11 bytes, more than the " +
                         "5 bytes of text in " + e + "UnitDescriptions.KRT." + kNothingChanged;
                }},
        Refusal{"MembersBeforeZeroPastTheEndOfTxtPfp",
                [](const std::string& d, const std::string&) {
                  testing::WriteFile(d + "TXT.PFP", "Hello\r\nWor");
                },
                [](const std::string& d, const std::string&) {
                  return d + "PFPDATA.IDX places the members before the unitdescriptions up to " +
                         "byte 14, outside " + d + "TXT.PFP (10 bytes)." + kNothingChanged;
                }},
        Refusal{"AUnitAtByteZero",
                [](const std::string& d, const std::string&) {
                  // INTRO is empty, and the units follow a gap nobody indexes.
                  testing::WriteMemberIndex(
                      d + "PFPDATA.IDX", 1,
                      {testing::Member("INTRO", 0, 0), testing::Member("0", 11, 14),
                       testing::Member("1", 17, 25), testing::Member("AUDIO", 100, 0),
                       testing::Member("BEEP", 50, 100), testing::Member("MAIN", 300, 0),
                       testing::Member("", 0, 0)});
                },
                [](const std::string& d, const std::string&) {
                  return "The unitdescription '0' would begin at byte 0 of " + d +
                         "TXT.PFP, where PFPDATA.IDX can only hold the first member of an "
                         "archive." +
                         kNothingChanged;
                }},
        Refusal{"MoreRecordsThanTheIndexMayHold",
                [](const std::string&, const std::string& e) {
                  test::WriteExtract(e, "x", std::vector<TinyUnit>(32767, TinyUnit{"U", 1}));
                },
                [](const std::string& d, const std::string&) {
                  return "With these unitdescriptions " + d +
                         "PFPDATA.IDX would hold 32772 records, more than 32767." + kNothingChanged;
                }},
        Refusal{"OffsetsPastTheLargestNumber",
                [](const std::string&, const std::string& e) {
                  test::WriteExtract(e, "x", {{"0", 2147483647}, {"1", 1}});
                },
                [](const std::string& d, const std::string&) {
                  return "With these unitdescriptions " + d +
                         "TXT.PFP would be larger than 2147483647 bytes." + kNothingChanged;
                }}),
    [](const auto& info) { return info.param.Case; });

class FailingInsertion : public RefusalTest, public ::testing::WithParamInterface<FileOperation> {
 protected:
  void SetUp() override {
    RefusalTest::SetUp();
    // Backups of an earlier insertion, which the new ones replace.
    for (const char* name : {"OLD_TXT.PFP", "OLD_PFPDATA.IDX", "OLD_EXT.IDX"}) {
      testing::WriteFile(data / name, std::string("earlier ") + name);
    }
  }
};

// Whichever write, flush, creation or rename fails, and at whichever time, every file of the
// installation is as it was, the message names the file, and no success is reported.
TEST_P(FailingInsertion, LeavesEveryFileAsItWas) {
  const auto before = SnapshotFolder(data.Path());
  const int failures = test::FailEachOperationInTurn(
      GetParam(),
      [this] {
        ui.Clear();
        return Insert();
      },
      [&](int n) {
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u) << "fault at operation " << n;
        EXPECT_TRUE(messages[0].starts_with("The unitdescriptions have not been inserted:\r\n"))
            << messages[0];
        EXPECT_NE(messages[0].find(data.Path()), std::string::npos) << messages[0];
        EXPECT_TRUE(messages[0].ends_with(
            ": Injected fault\r\nYour TXT.PFP, PFPDATA.IDX and EXT.IDX are as they were."))
            << messages[0];
        EXPECT_EQ(reloads, 0);
        ASSERT_EQ(SnapshotFolder(data.Path()), before) << "fault at operation " << n;
      });
  EXPECT_GT(failures, 0);
  EXPECT_EQ(reloads, 1);
  const auto after = SnapshotFolder(data.Path());
  EXPECT_EQ(after.at("OLD_TXT.PFP"), before.at("TXT.PFP"));
  EXPECT_EQ(after.at("OLD_PFPDATA.IDX"), before.at("PFPDATA.IDX"));
  EXPECT_EQ(after.at("OLD_EXT.IDX"), before.at("EXT.IDX"));
  EXPECT_EQ(testing::ReadText(data / "TXT.PFP"), "Hello\r\nWorld\r\nAAA\r\nBBBB\r\nCCCCC\r\n");
  EXPECT_EQ(after.size(), before.size());
}

INSTANTIATE_TEST_SUITE_P(Operations, FailingInsertion,
                         ::testing::Values(FileOperation::Create, FileOperation::Write,
                                           FileOperation::Flush, FileOperation::Rename),
                         test::OperationName);

}  // namespace
}  // namespace zorvane::unitdesc
