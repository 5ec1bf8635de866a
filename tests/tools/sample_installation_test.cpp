#include <gtest/gtest.h>

#include <array>

#include <set>

#include "archive/index_files.h"
#include "archive/index_tables.h"
#include "archive/installation_check.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::sample {
namespace {

using namespace archive;

// An installation written at a scale, with both index files read back.
struct Sample {
  explicit Sample(int scale) {
    EXPECT_TRUE(WriteSampleInstallation(data.Path(), {scale}));
    index = ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX"));
    archives = ParseArchiveIndex(testing::ReadFile(data / "EXT.IDX"));
  }
  std::vector<MemberRecord> Members(std::size_t k) const {
    const auto first = index.Records.begin();
    return {first + archives.at(k).FirstMember, first + archives.at(k).EndMember};
  }
  testing::TempFolder data;
  MemberIndex index;
  std::vector<ArchiveRecord> archives;
};

// Every scale passes the installation check; scale 2 adds the filler archives DAT001, ...
TEST(SampleInstallation, EveryScaleIsASoundInstallation) {
  for (int scale : {1, 2}) {
    const Sample s(scale);
    EXPECT_EQ(CheckInstallation(s.data.Path()), std::vector<std::string>{}) << scale;
    EXPECT_EQ(s.index.Records.size(), MemberIndexRecords(CountsForScale(scale)));
    EXPECT_EQ(ComparableName(s.archives[5].Name), scale == 1 ? "" : "DAT001");
    EXPECT_EQ(s.archives.back(), ArchiveRecord({}, 0x20202020, 0x20202020));
  }
}

TEST(SampleInstallation, HoldsWhatTheOtherTestsUse) {
  const Sample s(1);
  EXPECT_EQ(s.index.Header, kSampleIndexHeader);
  EXPECT_EQ(NameBytes(s.archives[1].Name), "SND     ");
  EXPECT_EQ(NameBytes(s.Members(1)[0].Name), "AUDIO   ");
  EXPECT_EQ(NameBytes(s.Members(0)[3].Name), std::string("0\0\0\0\0\0\0\0", 8));
  // The unit descriptions begin at a line start and end the text.
  const std::string text = testing::ReadText(s.data / "TXT.PFP");
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_EQ(text.substr(s.Members(0)[3].Offset - 2, 2), "\r\n");
  const auto pal = testing::ReadFile(s.data / "PAL.PFP");  // 15 distinct palettes
  std::set<testing::Bytes> palettes;
  for (const auto& p : s.Members(4)) palettes.emplace(&pal[p.Offset], &pal[p.Offset] + p.Length);
  EXPECT_EQ(palettes.size(), 15u);
  // Each has 256 distinct colours, none the pink of transparency: a true-colour picture maps
  // back to its indices.
  for (const testing::Bytes& palette : palettes) {
    std::set<std::array<std::uint8_t, 3>> colours{{225, 225, 255}};
    for (std::size_t i = 0; i < 1024; i += 4)
      colours.insert({palette[i], palette[i + 1], palette[i + 2]});
    EXPECT_EQ(colours.size(), 257u);
  }
  EXPECT_EQ(pal.size(), 15u * 1024);
  const Sample again(1);
  EXPECT_EQ(testing::SnapshotFolder(again.data.Path()), testing::SnapshotFolder(s.data.Path()));
}

// The largest scale fills both index files and UNITICON past 4095 icons; no scale goes further.
TEST(SampleInstallation, ScalesReachButNeverPassTheLimits) {
  const SampleCounts largest = CountsForScale(kLargestScale);
  EXPECT_EQ(MemberIndexRecords(largest), kMemberCapacity);
  EXPECT_EQ(ArchiveIndexRecords(largest), kArchiveCapacity);
  EXPECT_GT(largest.UnitIcons, 4095);
  for (int scale = 1; scale <= kMaxScale; ++scale) {
    const SampleCounts counts = CountsForScale(scale);
    ASSERT_LE(MemberIndexRecords(counts), kMemberCapacity) << scale;
    ASSERT_LE(ArchiveIndexRecords(counts), kArchiveCapacity) << scale;
    ASSERT_GE(counts.FillerMembers, counts.FillerArchives) << scale;
    ASSERT_LE(counts.TileFiles * counts.HexesPerTile, kMaxTileHexes) << scale;
  }
}

}  // namespace
}  // namespace zorvane::sample
