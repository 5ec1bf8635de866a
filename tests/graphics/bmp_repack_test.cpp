#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/bmp_repack.h"
#include "graphics/graphics_messages.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "platform/fault_injection.h"
#include "platform/little_endian.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Event = platform::ScriptedUi::Event;
using testing::Rows;

constexpr int T = 213;

const Rows kSixByThree{{T, T, 5, 5, 5, 9}, {T, T, T, T, T, T}, {7, T, T, 8, 8, T}};
const Rows kFourByOne{{5, T, T, 9}};
const Rows kAllTransparent{{T, T, T, T}, {T, T, T, T}};

// A DATA folder with the two BMP folders, and everything a double-click in the set list uses.
class Repacking : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(data / "TOVRIN_PFP/ICONS/BMPFILES");
    std::filesystem::create_directories(data / "TOVRIN_PFP/TILES/BMPFILES");
    repack.RepackFolder = "TOVRIN_PFP/ICONS/";
  }

  void WriteBmp(const std::string& name, const Rows& picture,
                const std::string& folder = "TOVRIN_PFP/ICONS/BMPFILES/") {
    testing::WriteFile(data / (folder + name), testing::BmpBytesOf(picture));
  }

  void Repack(const std::string& row, RepackDestination destination = RepackDestination::Icons) {
    RepackBmpSet({data.Path(), destination, row}, repack, file1, palettes, picture, ui);
  }

  std::string IconPath(const std::string& name) const {
    return data / ("TOVRIN_PFP/ICONS/" + name);
  }

  testing::TempFolder data;
  RepackContext repack;
  platform::FileListBox file1;
  PaletteState palettes;
  PictureState picture;
  platform::ScriptedUi ui;
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(Repacking, TwoPicturesMakeThe87ByteSpriteFile) {
  WriteBmp("NAME_00000.BMP", kSixByThree);
  WriteBmp("NAME_00001.BMP", kAllTransparent);
  Repack("NAME        SHP.PFP             2");
  const Bytes expected = Concat({
      {0x31, 0x2E, 0x31, 0x30, 2, 0, 0, 0},
      {0x18, 0, 0, 0, 0, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0, 0},
      {2, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 2, 0, 0, 0},
      {1, 2, 6, 5, 3, 9, 0, 0, 3, 7, 1, 2, 4, 8, 0},
      {1, 0, 3, 0, 0, 0, 0, 0},
      {0xFE, 0xFE, 0xFE, 0x7F, 0xFE, 0xFE, 0xFE, 0x7F, 0xFE, 0xFE, 0xFE, 0x80, 0xFE, 0xFE, 0xFE,
       0x80},
  });
  ASSERT_EQ(expected.size(), 87u);
  EXPECT_EQ(testing::ReadFile(IconPath("NAME.SHP")), expected);
  const std::string file = data.Path() + "TOVRIN_PFP/ICONS/NAME.SHP";
  EXPECT_EQ(ui.Events(),
            (std::vector<Event>{
                {Event::Kind::Busy, ""},
                {Event::Kind::NotBusy, ""},
                {Event::Kind::Message,
                 "The files has been converted and saved as: \r\n" + file +
                     "\r\nTo insert the file into your PacGen installation use the 'Insert' "
                     "menu.\r\n\r\nThe file " +
                     file +
                     "\r\ncan be distributed to other installations, where it can be inserted by "
                     "this tool."}}));
  EXPECT_TRUE(repack.Completed);
  EXPECT_TRUE(palettes.UseTransparency);
}

std::vector<std::int32_t> ImageOffsets(const Bytes& sprite) {
  std::vector<std::int32_t> offsets;
  const std::int32_t count = platform::ReadInt32(sprite.data() + 4);
  for (std::int32_t i = 0; i < count; ++i) {
    offsets.push_back(platform::ReadInt32(sprite.data() + 8 + 8 * i));
    EXPECT_EQ(platform::ReadInt32(sprite.data() + 12 + 8 * i), 0);
  }
  return offsets;
}

// The pictures of a sprite file, decoded as the DAY palette decodes them.
std::vector<std::vector<std::vector<int>>> Pictures(const Bytes& sprite) {
  const ShpFileReader reader(sprite);
  std::vector<std::vector<std::vector<int>>> pictures;
  for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
    const auto image = reader.SubImage(i);
    if (!image) {
      ADD_FAILURE() << "sub-image " << i;
      return pictures;
    }
    PixelBuffer pixels;
    DecodeShpImage(*image, true, pixels);
    pictures.push_back(testing::TopDownGrid(pixels));
  }
  return pictures;
}

TEST_F(Repacking, TheTableGivesEachSubImageItsOffset) {
  WriteBmp("NAME_00000.BMP", kSixByThree);  // 24 + 15 bytes
  WriteBmp("NAME_00001.BMP", kFourByOne);   // 24 + 7 bytes
  WriteBmp("NAME_00002.BMP", {{7}});        // 24 + 3 bytes
  Repack("NAME");
  const Bytes sprite = testing::ReadFile(IconPath("NAME.SHP"));
  EXPECT_EQ(ImageOffsets(sprite), (std::vector<std::int32_t>{32, 32 + 39, 32 + 39 + 31}));
  EXPECT_EQ(sprite.size(), 32u + 39 + 31 + 27);
  EXPECT_EQ(Pictures(sprite), (std::vector<Rows>{kSixByThree, kFourByOne, {{7}}}));
}

TEST_F(Repacking, OneTransparentPictureMakesA40ByteFile) {
  WriteBmp("EMPTY_00000.BMP", kAllTransparent);
  Repack("EMPTY");
  const Bytes sprite = testing::ReadFile(IconPath("EMPTY.SHP"));
  EXPECT_EQ(ImageOffsets(sprite), std::vector<std::int32_t>{16});
  EXPECT_EQ(sprite.size(), 40u);
}

TEST_F(Repacking, GapsInTheNumbersCloseUpAndLongerSetsStayOut) {
  WriteBmp("ICON_00000.BMP", {{1}});
  WriteBmp("ICON_00001.BMP", {{2}});
  WriteBmp("ICON_00005.BMP", {{3}});
  WriteBmp("ICONS_00000.BMP", {{4}});
  WriteBmp("ICONAB_00000.BMP", {{5}});
  Repack("ICON        SHP.PFP             3");
  EXPECT_EQ(Pictures(testing::ReadFile(IconPath("ICON.SHP"))),
            (std::vector<Rows>{{{1}}, {{2}}, {{3}}}));
}

TEST_F(Repacking, ASetListedInLowerCaseIsWrittenUnderAnUpperCaseName) {
  WriteBmp("name_00000.bmp", {{1, 2}});
  Repack("name");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(data / "TOVRIN_PFP/ICONS")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"BMPFILES", "NAME.SHP"}));
}

TEST_F(Repacking, AnEarlierSpriteFileIsReplaced) {
  testing::WriteFile(IconPath("NAME.SHP"), "an earlier sprite file");
  WriteBmp("NAME_00000.BMP", {{1, 2}});
  Repack("NAME");
  EXPECT_EQ(Pictures(testing::ReadFile(IconPath("NAME.SHP"))), (std::vector<Rows>{{{1, 2}}}));
}

struct TransparencyCase {
  const char* Name;
  RepackDestination Destination;
  const char* Row;
  const char* Set;
  bool Expected;
};

class SetTransparency : public Repacking, public ::testing::WithParamInterface<TransparencyCase> {};

// An all-213 picture is the empty marker with transparency, and coded in full without it.
TEST_P(SetTransparency, FollowsTheDestinationAndTheName) {
  const TransparencyCase& c = GetParam();
  const bool tiles = c.Destination == RepackDestination::Tiles;
  if (tiles) repack.RepackFolder = "TOVRIN_PFP/TILES/";
  const std::string folder = tiles ? "TOVRIN_PFP/TILES/" : "TOVRIN_PFP/ICONS/";
  palettes.UseTransparency = !c.Expected;
  WriteBmp(std::string(c.Set) + "_00000.BMP", kAllTransparent, folder + "BMPFILES/");
  Repack(c.Row, c.Destination);
  EXPECT_EQ(palettes.UseTransparency, c.Expected);
  const Bytes sprite = testing::ReadFile(data / (folder + c.Set + ".SHP"));
  EXPECT_EQ(sprite.size(), c.Expected ? 40u : 16u + 24 + 2 * 3);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SetTransparency,
    ::testing::Values(
        TransparencyCase{"ScreenInLowerCase", RepackDestination::Icons, "turn03_u", "TURN03_U",
                         false},
        TransparencyCase{"ScreenWithBlanksRound", RepackDestination::Icons, "  TURN03_U  SHP.PFP",
                         "TURN03_U", false},
        TransparencyCase{"MainMenu", RepackDestination::Icons, "MAINMENU", "MAINMENU", false},
        TransparencyCase{"SecondMenu", RepackDestination::Icons, "MAINMEN2", "MAINMEN2", false},
        TransparencyCase{"JapaneseTurn", RepackDestination::Icons, "TURN06_J", "TURN06_J", false},
        TransparencyCase{"UnitIcons", RepackDestination::Icons, "UNITICON", "UNITICON", true},
        TransparencyCase{"NoSuchTurn", RepackDestination::Icons, "TURN07_U", "TURN07_U", true},
        TransparencyCase{"TilesAlways", RepackDestination::Tiles, "MAINMENU", "MAINMENU", true},
        TransparencyCase{"Tile", RepackDestination::Tiles, "T_CLR_DD", "T_CLR_DD", true}),
    [](const auto& info) { return std::string(info.param.Name); });

// BMPs that fail the test, placed second of three.
struct InvalidCase {
  const char* Name;
  Bytes File;
};

const Bytes kValid = testing::BmpBytesOf({{1, 2, 3}});

class InvalidFile : public Repacking, public ::testing::WithParamInterface<InvalidCase> {};

TEST_P(InvalidFile, IsReportedOnceAndNoSpriteFileIsWritten) {
  WriteBmp("NAME_00000.BMP", {{1}});
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/NAME_00001.BMP", GetParam().File);
  // The third is invalid too: reading it would show a second message.
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/NAME_00002.BMP", "BA");
  testing::WriteFile(IconPath("NAME.SHP"), "the earlier sprite file");
  const auto before = testing::SnapshotFolder(data.Path());
  Repack("NAME        SHP.PFP             3");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"File: " + data.Path() +
                                     "TOVRIN_PFP/ICONS/BMPFILES/NAME_00001.BMP\r\nis NOT a 256 "
                                     "color, uncompressed  BMP file. Conversion aborted."});
  EXPECT_FALSE(repack.Completed);
  EXPECT_FALSE(ui.Busy());
}

INSTANTIATE_TEST_SUITE_P(
    Files, InvalidFile,
    ::testing::Values(InvalidCase{"TwentyFourBit", testing::WithField(kValid, 28, 2, 24)},
                      InvalidCase{"FourBit", testing::WithField(kValid, 28, 2, 4)},
                      InvalidCase{"RunLengthCoded", testing::WithField(kValid, 30, 4, 1)},
                      InvalidCase{"LowerCaseBm", testing::WithField(kValid, 0, 2, 'b' | 'm' << 8)},
                      InvalidCase{"TopDown", testing::WithField(kValid, 22, 4, 0xFFFFFFFF)},
                      InvalidCase{"ShorterThanItsPalette",
                                  Bytes(kValid.begin(), kValid.begin() + 600)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Repacking, ASetWithoutFilesIsRefused) {
  WriteBmp("OTHER_00000.BMP", {{1}});
  const auto before = testing::SnapshotFolder(data.Path());
  Repack("GONE        SHP.PFP             2");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{
                               "There are no BMP files of the set GONE in the folder:\r\n" +
                               data.Path() + "TOVRIN_PFP/ICONS/BMPFILES\r\nNo SHP file made."});
  EXPECT_FALSE(repack.Completed);
}

TEST_F(Repacking, ASetNameLongerThanEightIsRefused) {
  WriteBmp("UNITICONS_00000.BMP", {{1}});
  WriteBmp("UNITICON_00000.BMP", {{2}});
  const auto before = testing::SnapshotFolder(data.Path());
  Repack(BmpSetRow("UNITICONS", RepackDestination::Icons, 1));
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{
                "The BMP files of the set UNITICON~ cannot be converted: the name of a SHP file "
                "has at most 8 characters.\r\nRename them NAME_00000.BMP, NAME_00001.BMP, ... "
                "with a NAME of 8 characters or fewer."});
}

TEST_F(Repacking, BeforeAnyListingTheDestinationsOwnFolderIsUsed) {
  repack.RepackFolder.clear();
  WriteBmp("TILE_00000.BMP", {{1}}, "TOVRIN_PFP/TILES/BMPFILES/");
  Repack("TILE", RepackDestination::Tiles);
  EXPECT_TRUE(std::filesystem::exists(data / "TOVRIN_PFP/TILES/TILE.SHP"));
  EXPECT_EQ(file1.Path, data.Path() + "TOVRIN_PFP/TILES/BMPFILES");
}

TEST_F(Repacking, MoreThan4095FilesHave32BitOffsets) {
  constexpr int kFiles = 4100;
  const Bytes bmp = testing::BmpBytesOf({{7}});
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "MANY_%05d.BMP", i);
    testing::WriteFile(data / ("TOVRIN_PFP/ICONS/BMPFILES/" + std::string(name)), bmp);
  }
  Repack("MANY");
  const Bytes sprite = testing::ReadFile(IconPath("MANY.SHP"));
  const std::vector<std::int32_t> offsets = ImageOffsets(sprite);
  ASSERT_EQ(offsets.size(), static_cast<std::size_t>(kFiles));
  // Each sub-image is its 24-byte header and the stream 3, 7, 0.
  for (int i = 0; i < kFiles; ++i) ASSERT_EQ(offsets[i], 8 + 8 * kFiles + 27 * i) << i;
  EXPECT_EQ(sprite.size(), static_cast<std::size_t>(8 + 8 * kFiles + 27 * kFiles));
}

}  // namespace
}  // namespace zorvane::graphics
