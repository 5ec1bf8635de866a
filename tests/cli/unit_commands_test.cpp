#include <gtest/gtest.h>

#include <sstream>

#include "archive/index_files.h"
#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

using archive::ArchiveRecord;
using archive::MemberRecord;

class UnitCommandsTest : public CliFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sample::WriteSampleInstallation(small.Path(), {1}));
    ASSERT_TRUE(sample::WriteSampleInstallation(large.Path(), {2}));
  }

  int Run(const testing::TempFolder& data, std::vector<std::string> command) {
    std::vector<std::string> args{"--data", data.Path(), "--program-dir", program.Path()};
    args.insert(args.end(), command.begin(), command.end());
    return RunWith(args);
  }

  testing::TempFolder small, large, program;
};

std::vector<MemberRecord> Normalised(std::vector<MemberRecord> records) {
  for (auto& record : records) archive::NormaliseName(record.Name);
  return records;
}

// The index of `target` after it received the unit descriptions of `source`: the text
// members and unit descriptions of `source`, then the records of `target` from AUDIO on.
std::vector<MemberRecord> IndexWithUnitsOf(const std::vector<MemberRecord>& source,
                                           const std::vector<MemberRecord>& target) {
  const auto isAudio = [](const MemberRecord& r) {
    return archive::ComparableName(r.Name) == "AUDIO";
  };
  const auto sourceAudio = std::find_if(source.begin(), source.end(), isAudio);
  const auto targetAudio = std::find_if(target.begin(), target.end(), isAudio);
  std::vector<MemberRecord> records(source.begin(), sourceAudio);
  records.insert(records.end(), targetAudio, target.end());
  return Normalised(records);
}

// EXT.IDX of `target` with every record number after the first archive moved by `shift`.
std::vector<ArchiveRecord> ArchivesMovedBy(std::vector<ArchiveRecord> archives, int shift) {
  for (std::size_t k = 0; k + 1 < archives.size(); ++k) {
    archive::NormaliseName(archives[k].Name);
    if (k > 0) archives[k].FirstMember += shift;
    archives[k].EndMember += shift;
  }
  archive::NormaliseName(archives.back().Name);
  return archives;
}

TEST_F(UnitCommandsTest, DescriptionsTravelBetweenInstallationsOfDifferentScale) {
  const auto smallBefore = testing::SnapshotFolder(small.Path());
  const auto largeBefore = testing::SnapshotFolder(large.Path());
  const auto smallIndex = archive::ParseMemberIndex(smallBefore.at("PFPDATA.IDX")).Records;
  const auto largeIndex = archive::ParseMemberIndex(largeBefore.at("PFPDATA.IDX")).Records;

  ASSERT_EQ(Run(small, {"extract-units"}), kExitCompleted);
  EXPECT_EQ(OutLines().at(2), small.Path() + "EXTRACTS/UnitDescriptions.KRT");
  ASSERT_EQ(Run(large, {"extract-units"}), kExitCompleted);
  const auto smallExtracts = testing::SnapshotFolder(small / "EXTRACTS");
  const auto largeExtracts = testing::SnapshotFolder(large / "EXTRACTS");
  EXPECT_EQ(smallExtracts.at("UnitIDX.KRT").size(), 40u * 16);
  EXPECT_EQ(largeExtracts.at("UnitIDX.KRT").size(), 80u * 16);

  // Scale 1 into scale 2: 40 unit descriptions take the place of 80.
  ASSERT_EQ(Run(large, {"insert-units", small / "EXTRACTS"}), kExitCompleted) << out.str();
  const std::string& l = large.Path();
  const std::string e = small / "EXTRACTS/";
  EXPECT_EQ(OutLines(),
            (std::vector<std::string>{
                "Show me Folder where you have placed the Extracts of the unitdescriptions [" + e +
                    "UnitDescriptions.KRT]",
                "Unitdescriptions inserted.",
                "The files used for insertion is:", e + "UnitDescriptions.KRT", e + "UnitIDX.KRT",
                "Files Affected is:", l + "TXT.PFP", l + "PFPDATA.IDX", l + "EXT.IDX",
                "Your previous files has been renamed:", l + "OLD_TXT.PFP", l + "OLD_PFPDATA.IDX",
                l + "OLD_EXT.IDX",
                "To restore your old files, just delete the new ones and rename the OLD_*.* "
                "files"}));
  // The texts before the units are the same at every scale, so the text archive is now the
  // small installation's.
  EXPECT_TRUE(testing::ReadFile(large / "TXT.PFP") == smallBefore.at("TXT.PFP"));
  EXPECT_TRUE(testing::ReadFile(large / "OLD_TXT.PFP") == largeBefore.at("TXT.PFP"));
  const auto largeAfter = archive::ParseMemberIndex(testing::ReadFile(large / "PFPDATA.IDX"));
  EXPECT_EQ(largeAfter.Header, 0);
  EXPECT_EQ(largeAfter.Records, IndexWithUnitsOf(smallIndex, largeIndex));
  EXPECT_EQ(archive::ParseArchiveIndex(testing::ReadFile(large / "EXT.IDX")),
            ArchivesMovedBy(archive::ParseArchiveIndex(largeBefore.at("EXT.IDX")), -40));

  // And back: scale 2's 80 descriptions into scale 1.
  ASSERT_EQ(Run(small, {"insert-units", large / "EXTRACTS"}), kExitCompleted) << out.str();
  EXPECT_TRUE(testing::ReadFile(small / "TXT.PFP") == largeBefore.at("TXT.PFP"));
  EXPECT_EQ(archive::ParseMemberIndex(testing::ReadFile(small / "PFPDATA.IDX")).Records,
            IndexWithUnitsOf(largeIndex, smallIndex));
  EXPECT_EQ(archive::ParseArchiveIndex(testing::ReadFile(small / "EXT.IDX")),
            ArchivesMovedBy(archive::ParseArchiveIndex(smallBefore.at("EXT.IDX")), 40));

  // Each installation now gives the other's extracts.
  ASSERT_EQ(Run(small, {"extract-units"}), kExitCompleted);
  ASSERT_EQ(Run(large, {"extract-units"}), kExitCompleted);
  EXPECT_EQ(testing::SnapshotFolder(small / "EXTRACTS"), largeExtracts);
  EXPECT_EQ(testing::SnapshotFolder(large / "EXTRACTS"), smallExtracts);
  // The list after the insertion shows the new index.
  ASSERT_EQ(Run(small, {"list"}), kExitCompleted);
  // The header, then every record: 40 more than before.
  EXPECT_EQ(OutLines().size(), 1 + smallIndex.size() + 40);
}

TEST_F(UnitCommandsTest, AFolderWithoutExtractsIsRefused) {
  const auto before = testing::SnapshotFolder(large.Path());
  EXPECT_EQ(Run(large, {"insert-units", small.Path()}), kExitRefused);
  EXPECT_EQ(OutLines(),
            (std::vector<std::string>{
                "Show me Folder where you have placed the Extracts of the unitdescriptions [" +
                    small.Path() + "UnitDescriptions.KRT]",
                "cannot find all needed Extractfiles in folder:" + small.Path(),
                "Make sure that you have a folder with both the *.KRT files and point to that.",
                "Cannot find the extracts for inserting."}));
  EXPECT_EQ(testing::SnapshotFolder(large.Path()), before);
}

class UnitCommandUsage : public UnitCommandsTest,
                         public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(UnitCommandUsage, WrongArgumentsAreAUsageError) {
  const auto before = testing::SnapshotFolder(small.Path());
  EXPECT_EQ(Run(small, GetParam()), kExitUsage);
  EXPECT_NE(err.str().find("insert-units FOLDER"), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(testing::SnapshotFolder(small.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Arguments, UnitCommandUsage,
                         ::testing::Values(std::vector<std::string>{"insert-units"},
                                           std::vector<std::string>{"insert-units", "a", "b"},
                                           std::vector<std::string>{"insert-units", ""},
                                           std::vector<std::string>{"extract-units", "x"}));

}  // namespace
}  // namespace zorvane::cli
