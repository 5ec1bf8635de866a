#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>

#include "archive/index_files.h"
#include "archive/index_tables.h"
#include "graphics/palette_state.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "graphics/sprite_packer.h"
#include "platform/little_endian.h"
#include "sample/sample_installation.h"
#include "sample/sample_palettes.h"
#include "sample/sample_pictures.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::sample {
namespace {

using archive::ComparableName;

// An installation written at a scale, with both index files read back.
class SampleAtScale {
 protected:
  void Write(int scale) {
    ASSERT_TRUE(WriteSampleInstallation(data.Path(), {scale}));
    index = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX"));
    archives = archive::ParseArchiveIndex(testing::ReadFile(data / "EXT.IDX"));
  }

  // The records of archive k.
  std::vector<archive::MemberRecord> Members(std::size_t k) const {
    return {index.Records.begin() + archives[k].FirstMember,
            index.Records.begin() + archives[k].EndMember};
  }

  testing::TempFolder data;
  archive::MemberIndex index;
  std::vector<archive::ArchiveRecord> archives;
};

class SampleTest : public SampleAtScale, public ::testing::Test {
 protected:
  void SetUp() override { Write(1); }
};

// Scale 1 has no filler archive; scale 2 and 3 add 5 and 10 of them after PAL.PFP.
class SampleIndexTest : public SampleAtScale, public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { Write(GetParam()); }
};

std::vector<std::string> ArchiveNames(const SampleCounts& counts) {
  std::vector<std::string> names{"TXT", "SND", "SHP", "TIL", "PAL"};
  for (int filler = 1; filler <= counts.FillerArchives; ++filler) {
    char name[16];
    std::snprintf(name, sizeof name, "DAT%03d", filler);
    names.push_back(name);
  }
  return names;
}

TEST_P(SampleIndexTest, IndexFilesDescribeTheArchivesExactly) {
  const SampleCounts counts = CountsForScale(GetParam());
  EXPECT_EQ(index.Header, kSampleIndexHeader);
  EXPECT_NE(index.Header, 0);
  const std::vector<std::string> names = ArchiveNames(counts);
  ASSERT_EQ(archives.size(), names.size() + 1);
  EXPECT_EQ(static_cast<int>(archives.size()), ArchiveIndexRecords(counts));
  EXPECT_EQ(static_cast<int>(index.Records.size()), MemberIndexRecords(counts));
  const auto groups = archive::GroupOfEachRecord(index.Records);
  for (std::size_t k = 0; k < names.size(); ++k) {
    EXPECT_EQ(ComparableName(archives[k].Name), names[k]);
    const auto next = k + 1 < names.size() ? archives[k + 1].FirstMember
                                           : static_cast<std::int32_t>(index.Records.size() - 1);
    EXPECT_EQ(archives[k].EndMember, next);
    ASSERT_LT(archives[k].FirstMember, archives[k].EndMember) << names[k] << " has no member";
    // Members lie back to back from 0, and fill the archive to its end.
    std::int64_t offset = 0;
    for (const auto& member : Members(k)) {
      EXPECT_EQ(member.Offset, offset);
      EXPECT_GT(member.Length, 0);
      offset += member.Length;
    }
    EXPECT_EQ(testing::ReadFile(data / (names[k] + ".PFP")).size(), offset);
    EXPECT_EQ(groups[archives[k].FirstMember], static_cast<int>(k));
  }
  // The terminator opens one more group; its archive record holds four spaces twice.
  EXPECT_EQ(index.Records.back(), archive::MemberRecord{});
  EXPECT_EQ(archives.back().FirstMember, 0x20202020);
  EXPECT_EQ(archives.back().EndMember, 0x20202020);
  EXPECT_EQ(groups.back(), static_cast<int>(names.size()));
}

// What the unit-description insertion relies on: the text archive first, its unit
// descriptions to its end, and AUDIO opening the second archive whatever follows PAL.PFP.
TEST_P(SampleIndexTest, UnitDescriptionsEndTheFirstArchiveAndAudioOpensTheSecond) {
  const SampleCounts counts = CountsForScale(GetParam());
  const auto texts = Members(0);
  ASSERT_EQ(texts.size(), 3u + counts.UnitDescriptions);
  for (int unit = 0; unit < counts.UnitDescriptions; ++unit) {
    EXPECT_EQ(ComparableName(texts[3 + unit].Name), std::to_string(unit));
  }
  EXPECT_EQ(ComparableName(index.Records[archives[1].FirstMember].Name), "AUDIO");
  EXPECT_EQ(Members(1).size(), 1u + counts.SoundMembers);
}

// The filler members are numbered across the filler archives, the first archives taking one
// more when the count does not divide evenly, each name filling its 8 characters.
TEST_P(SampleIndexTest, FillerMembersAreNumberedAcrossTheFillerArchives) {
  const SampleCounts counts = CountsForScale(GetParam());
  int number = 0;
  std::size_t fewest = SIZE_MAX, most = 0;
  for (int filler = 0; filler < counts.FillerArchives; ++filler) {
    const auto members = Members(5 + filler);
    fewest = std::min(fewest, members.size());
    most = std::max(most, members.size());
    for (const auto& member : members) {
      char expected[16];
      std::snprintf(expected, sizeof expected, "REC%05d", number++);
      EXPECT_EQ(archive::NameBytes(member.Name), expected);
    }
  }
  EXPECT_EQ(number, counts.FillerMembers);
  if (counts.FillerArchives > 0) {
    EXPECT_LE(most - fewest, 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, SampleIndexTest, ::testing::Values(1, 2, 3));

TEST_F(SampleTest, NamesArePaddedBothWays) {
  EXPECT_EQ(archive::NameBytes(archives[1].Name), "SND     ");
  EXPECT_EQ(archive::NameBytes(archives[2].Name), std::string("SHP\0\0\0\0\0", 8));
  EXPECT_EQ(archive::NameBytes(Members(1)[0].Name), "AUDIO   ");
  EXPECT_EQ(archive::NameBytes(Members(0)[3].Name), std::string("0\0\0\0\0\0\0\0", 8));
}

TEST_F(SampleTest, TheUnitDescriptionsBeginAtALineStartAndEndTheText) {
  const auto texts = Members(0);
  const std::string text = testing::ReadText(data / "TXT.PFP");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.substr(texts[3].Offset - 2, 2), "\r\n");
}

TEST_F(SampleTest, SpritesHoldTheNamedMembersAndValidTables) {
  std::set<std::string> names;
  const auto shp = testing::ReadFile(data / "SHP.PFP");
  for (const auto& member : Members(2)) {
    names.insert(ComparableName(member.Name));
    const std::uint8_t* sprite = shp.data() + member.Offset;
    EXPECT_EQ(std::string(sprite, sprite + 4), "1.10");
    const std::int32_t count = platform::ReadInt32(sprite + 4);
    ASSERT_GE(count, 1);
    for (std::int32_t i = 0; i < count; ++i) {
      const std::int32_t imageOffset = platform::ReadInt32(sprite + 8 + 8 * i);
      EXPECT_GE(imageOffset, 8 + 8 * count);
      EXPECT_LT(imageOffset + 24, member.Length);
    }
    if (ComparableName(member.Name) == "UNITICON") {
      EXPECT_EQ(count, 48);
    }
  }
  for (const char* name : {"MAINMENU", "MAINMEN2", "TURN01_U", "TURN06_U", "TURN01_J", "TURN06_J",
                           "UNITICON", "BUTTONS"}) {
    EXPECT_TRUE(names.contains(name)) << name;
  }
}

// Every sprite and tile file is what the tool's encoder writes for its decoded pictures, with
// the transparency of the palette its name selects.
TEST_F(SampleTest, SpritesAreCodedAsTheToolCodesTheirDecodedPictures) {
  int sprites = 0;
  for (const auto& [archive, name] :
       {std::pair<std::size_t, const char*>{2, "SHP.PFP"}, {3, "TIL.PFP"}}) {
    const auto bytes = testing::ReadFile(data / name);
    for (const auto& member : Members(archive)) {
      const std::span<const std::uint8_t> sprite(bytes.data() + member.Offset,
                                                 static_cast<std::size_t>(member.Length));
      const bool transparency =
          graphics::PaletteForSprite(ComparableName(member.Name)) == graphics::PaletteId::Day;
      const graphics::ShpFileReader reader(sprite);
      graphics::SpritePacker packer;
      graphics::PixelBuffer pixels;
      for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
        const auto image = reader.SubImage(i);
        ASSERT_TRUE(image && image->HeaderValid) << ComparableName(member.Name) << " " << i;
        graphics::DecodeShpImage(*image, transparency, pixels);
        ASSERT_TRUE(packer.Add(pixels, transparency));
      }
      EXPECT_EQ(packer.FileBytes(), testing::Bytes(sprite.begin(), sprite.end()))
          << ComparableName(member.Name);
      ++sprites;
    }
  }
  EXPECT_EQ(sprites, 18 + CountsForScale(1).TileFiles);
}

TEST_F(SampleTest, ThePaletteArchiveHoldsFifteenDistinctPalettes) {
  const auto palettes = Members(4);
  ASSERT_EQ(palettes.size(), 15u);
  std::set<testing::Bytes> distinct;
  const auto bytes = testing::ReadFile(data / "PAL.PFP");
  for (std::size_t p = 0; p < palettes.size(); ++p) {
    EXPECT_EQ(ComparableName(palettes[p].Name), kPaletteNames[p]);
    EXPECT_EQ(palettes[p].Length, 1024);
    distinct.emplace(bytes.begin() + palettes[p].Offset, bytes.begin() + palettes[p].Offset + 1024);
  }
  EXPECT_EQ(distinct.size(), 15u);
}

TEST_F(SampleTest, TheSameOptionsGiveTheSameBytes) {
  testing::TempFolder again;
  ASSERT_TRUE(WriteSampleInstallation(again.Path(), {}));
  EXPECT_EQ(testing::SnapshotFolder(again.Path()), testing::SnapshotFolder(data.Path()));
}

// Scale 1 is what the README promises and every test builds on.
TEST(SampleScale, ScaleOneHasTheDocumentedCountsAndNoFiller) {
  const SampleCounts one = CountsForScale(1);
  EXPECT_EQ(one.UnitDescriptions, 40);
  EXPECT_EQ(one.SoundMembers, 5);
  EXPECT_EQ(one.UnitIcons, 48);
  EXPECT_EQ(one.TileFiles, 12);
  EXPECT_EQ(one.HexesPerTile, 40);
  EXPECT_EQ(one.FillerArchives, 0);
  EXPECT_EQ(one.FillerMembers, 0);
}

TEST(SampleScale, SmallScalesMultiplyTheCounts) {
  const SampleCounts one = CountsForScale(1);
  for (int scale : {2, 3, 16}) {
    const SampleCounts counts = CountsForScale(scale);
    EXPECT_EQ(counts.UnitDescriptions, scale * one.UnitDescriptions) << scale;
    EXPECT_EQ(counts.SoundMembers, scale * one.SoundMembers) << scale;
    EXPECT_EQ(counts.UnitIcons, scale * one.UnitIcons) << scale;
    EXPECT_EQ(counts.TileFiles, std::min(scale * one.TileFiles, 192)) << scale;
    EXPECT_EQ(counts.HexesPerTile, scale * one.HexesPerTile) << scale;
  }
}

// The largest installation reaches every limit at once: PFPDATA.IDX and EXT.IDX full, a sprite
// of more sub-images than 16-bit table offsets can address, tile files of 2000 hexes and a
// TIL.PFP of about 200 MB (about 1600 bytes a hex).
TEST(SampleScale, TheLargestScaleReachesEveryLimit) {
  const SampleCounts largest = CountsForScale(kLargestScale);
  EXPECT_EQ(MemberIndexRecords(largest), archive::kMemberCapacity);
  EXPECT_EQ(ArchiveIndexRecords(largest), archive::kArchiveCapacity);
  EXPECT_EQ(ArchiveIndexRecords(largest), archive::kGroupCapacity);
  EXPECT_GT(largest.UnitIcons, 4095);
  EXPECT_EQ(largest.HexesPerTile, 2000);
  const int hexes = largest.TileFiles * largest.HexesPerTile;
  EXPECT_LE(hexes, kMaxTileHexes);
  EXPECT_GE(hexes, 120000);
}

// No scale goes past a limit of the index files, every filler archive has a member, nothing
// shrinks as the scale grows, and from the largest scale on the index files stay full.
TEST(SampleScale, EveryScaleStaysWithinTheIndexLimits) {
  SampleCounts previous = CountsForScale(1);
  for (int scale = 1; scale <= kMaxScale; ++scale) {
    const SampleCounts counts = CountsForScale(scale);
    ASSERT_LE(MemberIndexRecords(counts), archive::kMemberCapacity) << scale;
    ASSERT_LE(ArchiveIndexRecords(counts), archive::kArchiveCapacity) << scale;
    ASSERT_GE(counts.FillerMembers, counts.FillerArchives) << scale;
    ASSERT_GE(counts.UnitIcons, previous.UnitIcons) << scale;
    ASSERT_GE(counts.FillerArchives, previous.FillerArchives) << scale;
    ASSERT_GE(MemberIndexRecords(counts), MemberIndexRecords(previous)) << scale;
    ASSERT_LE(counts.TileFiles * counts.HexesPerTile, kMaxTileHexes) << scale;
    ASSERT_GE(counts.UnitDescriptions, 40) << scale;
    ASSERT_LE(counts.SoundMembers, 999) << scale;  // SOUND001 to SOUND999, each name once
    if (scale >= kLargestScale) {
      ASSERT_EQ(MemberIndexRecords(counts), archive::kMemberCapacity) << scale;
      ASSERT_EQ(ArchiveIndexRecords(counts), archive::kArchiveCapacity) << scale;
    }
    previous = counts;
  }
}

TEST(SamplePictures, DayPaletteSpritesKeepIndex213ForTransparency) {
  // Shapes are surrounded by 213 and never drawn with it.
  const Picture icon = UnitIcon(5);
  EXPECT_EQ(icon.At(0, 0), kTransparent);
  EXPECT_NE(icon.At(16, 16), kTransparent);
  for (const auto& name : TileNames(192)) {
    const Picture hex = HexTile(name, 3);
    EXPECT_EQ(hex.At(0, 0), kTransparent);
    for (int x = 1; x < 63; ++x) EXPECT_NE(hex.At(x, 16), kTransparent) << name;
  }
  const auto names = TileNames(192);
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 192u);
}

}  // namespace
}  // namespace zorvane::sample
