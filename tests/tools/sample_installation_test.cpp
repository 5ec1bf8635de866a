#include <gtest/gtest.h>

#include <set>

#include "archive/index_files.h"
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

class SampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSampleInstallation(data.Path(), {}));
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

TEST_F(SampleTest, IndexFilesDescribeTheArchivesExactly) {
  EXPECT_EQ(index.Header, kSampleIndexHeader);
  EXPECT_NE(index.Header, 0);
  ASSERT_EQ(archives.size(), 6u);
  const std::vector<std::string> names{"TXT", "SND", "SHP", "TIL", "PAL"};
  const auto groups = archive::GroupOfEachRecord(index.Records);
  for (std::size_t k = 0; k < names.size(); ++k) {
    EXPECT_EQ(ComparableName(archives[k].Name), names[k]);
    const auto next = k + 1 < names.size() ? archives[k + 1].FirstMember
                                           : static_cast<std::int32_t>(index.Records.size() - 1);
    EXPECT_EQ(archives[k].EndMember, next);
    // Members lie back to back from 0, and fill the archive to its end.
    std::int64_t offset = 0;
    for (const auto& member : Members(k)) {
      EXPECT_EQ(member.Offset, offset);
      offset += member.Length;
    }
    EXPECT_EQ(testing::ReadFile(data / (names[k] + ".PFP")).size(), offset);
    EXPECT_EQ(groups[archives[k].FirstMember], static_cast<int>(k));
  }
  // The terminator opens one more group; its archive record holds four spaces twice.
  EXPECT_EQ(index.Records.back(), archive::MemberRecord{});
  EXPECT_EQ(archives.back().FirstMember, 0x20202020);
  EXPECT_EQ(archives.back().EndMember, 0x20202020);
  EXPECT_EQ(groups.back(), 5);
}

TEST_F(SampleTest, NamesArePaddedBothWays) {
  EXPECT_EQ(archive::NameBytes(archives[1].Name), "SND     ");
  EXPECT_EQ(archive::NameBytes(archives[2].Name), std::string("SHP\0\0\0\0\0", 8));
  EXPECT_EQ(archive::NameBytes(Members(1)[0].Name), "AUDIO   ");
  EXPECT_EQ(archive::NameBytes(Members(0)[3].Name), std::string("0\0\0\0\0\0\0\0", 8));
}

TEST_F(SampleTest, TheTextArchiveEndsWithTheUnitDescriptions) {
  const auto texts = Members(0);
  const auto counts = CountsForScale(1);
  ASSERT_EQ(texts.size(), 3u + counts.UnitDescriptions);
  for (int unit = 0; unit < counts.UnitDescriptions; ++unit) {
    EXPECT_EQ(ComparableName(texts[3 + unit].Name), std::to_string(unit));
  }
  const std::string text = testing::ReadText(data / "TXT.PFP");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  // The block of unit descriptions begins at a line start.
  EXPECT_EQ(text.substr(texts[3].Offset - 2, 2), "\r\n");
  EXPECT_EQ(ComparableName(Members(1)[0].Name), "AUDIO");
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

TEST(SampleScale, MultipliesCountsWithinTheIndexLimit) {
  const SampleCounts one = CountsForScale(1);
  const SampleCounts three = CountsForScale(3);
  EXPECT_EQ(three.UnitDescriptions, 3 * one.UnitDescriptions);
  EXPECT_EQ(three.UnitIcons, 3 * one.UnitIcons);
  EXPECT_EQ(three.TileFiles, 3 * one.TileFiles);
  EXPECT_EQ(three.HexesPerTile, 3 * one.HexesPerTile);
  const SampleCounts largest = CountsForScale(kMaxScale);
  const int records =
      3 + largest.UnitDescriptions + 1 + largest.SoundMembers + 18 + largest.TileFiles + 15 + 1;
  EXPECT_LE(records, 32767);
  EXPECT_GE(records, 32700);
  EXPECT_EQ(largest.TileFiles, 192);
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
