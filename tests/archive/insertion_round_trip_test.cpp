#include <gtest/gtest.h>

#include "archive/index_files.h"
#include "insertion_test_support.h"
#include "sample/sample_installation.h"

namespace zorvane::archive {
namespace {

enum class Position { First, Middle, Last };

struct RoundTripCase {
  std::string Archive;
  Position Where;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
  *out << c.Archive << " member " << static_cast<int>(c.Where);
}

class RoundTrip : public testing::InsertionFixture,
                  public ::testing::WithParamInterface<RoundTripCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }
};

// The records of one archive's group in PFPDATA.IDX: from its EXT.IDX FirstMember up to the
// next record with Offset 0.
std::vector<MemberRecord> GroupOf(const std::string& dataFolder, const std::string& archive) {
  const auto archives = ParseArchiveIndex(testing::ReadFile(dataFolder + "EXT.IDX"));
  const auto records = ParseMemberIndex(testing::ReadFile(dataFolder + "PFPDATA.IDX")).Records;
  for (const ArchiveRecord& record : archives) {
    if (ComparableName(record.Name) != archive) continue;
    auto first = records.begin() + record.FirstMember;
    auto end =
        std::find_if(first + 1, records.end(), [](const MemberRecord& r) { return r.Offset == 0; });
    return {first, end};
  }
  return {};
}

// Takes a member out of its archive: Length bytes at Offset, as the extraction copies it (the
// extraction itself is exercised in tests/app/extract_insert_round_trip_test.cpp, for the
// archives it can extract).
testing::Bytes MemberBytes(const std::string& archivePath, const MemberRecord& member) {
  const testing::Bytes archive = testing::ReadFile(archivePath);
  return testing::Bytes(archive.begin() + member.Offset,
                        archive.begin() + member.Offset + member.Length);
}

// Putting back a member's own bytes gives the same archive and the same index, byte for byte;
// only the backups are new.
TEST_P(RoundTrip, InsertingAMemberUnchangedGivesTheSameFiles) {
  const std::string archivePath = data / (GetParam().Archive + ".PFP");
  const auto group = GroupOf(data.Path(), GetParam().Archive);
  ASSERT_GE(group.size(), 3u);
  const std::size_t pick = GetParam().Where == Position::First  ? 0
                           : GetParam().Where == Position::Last ? group.size() - 1
                                                                : group.size() / 2;
  const MemberRecord& member = group[pick];
  const std::string name = ComparableName(member.Name);
  const auto all = ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records;
  const auto firstOfName = std::find_if(all.begin(), all.end(), [&](const MemberRecord& r) {
    return ComparableName(r.Name) == name;
  });
  ASSERT_EQ(*firstOfName, member) << name << " is not the first member of its name";

  testing::WriteFile(edits / (name + ".SHP"), MemberBytes(archivePath, member));
  const auto before = testing::SnapshotFolder(data.Path());
  ASSERT_EQ(InsertChosen(edits / (name + ".SHP")), InsertionOutcome::Inserted);

  auto expected = before;
  expected[GetParam().Archive + "_OLD.PFP"] = before.at(GetParam().Archive + ".PFP");
  expected["PFPDATA_OLD.IDX"] = before.at("PFPDATA.IDX");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), expected) << "member " << name;
}

std::string RoundTripName(const ::testing::TestParamInfo<RoundTripCase>& info) {
  static const char* const kPositions[] = {"First", "Middle", "Last"};
  return info.param.Archive + kPositions[static_cast<int>(info.param.Where)];
}

INSTANTIATE_TEST_SUITE_P(
    SampleMembers, RoundTrip,
    ::testing::Values(RoundTripCase{"SHP", Position::First}, RoundTripCase{"SHP", Position::Middle},
                      RoundTripCase{"SHP", Position::Last}, RoundTripCase{"TIL", Position::First},
                      RoundTripCase{"TIL", Position::Middle}, RoundTripCase{"TIL", Position::Last},
                      RoundTripCase{"PAL", Position::Middle}, RoundTripCase{"PAL", Position::Last},
                      RoundTripCase{"SND", Position::First}, RoundTripCase{"TXT", Position::Last}),
    RoundTripName);

}  // namespace
}  // namespace zorvane::archive
