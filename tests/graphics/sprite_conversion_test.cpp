#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/bmp_header.h"
#include "graphics/sprite_conversion.h"
#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "sprite_member.h"
#include "support/files.h"
#include "support/sprite_builder.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::HandMadeSubImage;

const HandMadeSubImage kPixel{0, 0, 0, 0, 0, 0, {3, 9, 0}};

// A sprite file in ExtractFolder, converted into BmpFolder.
class ConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.ExtractFolder = temp / "ICONS/";
    context.BmpFolder = temp / "ICONS/BMPFILES/";
    context.MemberExtension = ".SHP";
    std::filesystem::create_directories(context.BmpFolder);
    // Tables that tell the palettes apart: entry i of table p is (p, i, 255 - i).
    for (std::size_t p = 0; p < kPaletteCount; ++p) {
      for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        palettes.PaletteTables[p][i] = {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(i),
                                        static_cast<std::uint8_t>(255 - i), 0};
      }
    }
  }

  void Convert(const std::string& name, const Bytes& file) {
    context.MemberName = name;
    testing::WriteFile(context.ExtractFolder + name + ".SHP", file);
    ConvertShpToBmp({context, palettes, picture}, ui);
  }

  std::vector<std::string> BmpNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(context.BmpFolder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder temp;
  ExtractionContext context;
  PaletteState palettes;
  PictureState picture;
  platform::ScriptedUi ui;
};

TEST_F(ConversionTest, EverySubImageBecomesANumberedBmp) {
  std::vector<HandMadeSubImage> images(13, kPixel);
  Convert("FOREST", testing::SpriteFileOf(images));
  const auto names = BmpNames();
  ASSERT_EQ(names.size(), 13u);
  EXPECT_EQ(names.front(), "FOREST_00000.BMP");
  EXPECT_EQ(names.back(), "FOREST_00012.BMP");
  EXPECT_EQ(context.ImageIndex, 13);
  EXPECT_FALSE(context.ShpRejected);
  EXPECT_TRUE(ui.Events().empty());
}

TEST(BmpFileName, HasFiveDigitsAndMoreWhenTheNumberNeedsThem) {
  EXPECT_EQ(BmpFileName("MAINMENU", 0), "MAINMENU_00000.BMP");
  EXPECT_EQ(BmpFileName("FOREST", 12), "FOREST_00012.BMP");
  EXPECT_EQ(BmpFileName("X", 99999), "X_99999.BMP");
  EXPECT_EQ(BmpFileName("X", 100000), "X_100000.BMP");
}

TEST_F(ConversionTest, ARejectedSubImageKeepsTheNumbersOfTheOthers) {
  Bytes file = testing::SpriteFileOf({kPixel, kPixel, kPixel});
  platform::WriteInt32(file.data() + 8 + 8 * 1, 12);  // sub-image 1 points into the table
  Convert("UNITS", file);
  EXPECT_EQ(BmpNames(), (std::vector<std::string>{"UNITS_00000.BMP", "UNITS_00002.BMP"}));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{
                               "The file: UNITS.SHP is not a valid SHP-file. No BMP-file made."});
  // Only the last sub-image counts.
  EXPECT_FALSE(context.ShpRejected);
  EXPECT_EQ(context.ImageIndex, 3);
}

TEST_F(ConversionTest, ARejectedLastSubImageMarksTheConversion) {
  Bytes file = testing::SpriteFileOf({kPixel, kPixel});
  platform::WriteInt32(file.data() + 8 + 8 * 1 + 4, -1);  // negative Reserved
  Convert("UNITS", file);
  EXPECT_EQ(BmpNames(), std::vector<std::string>{"UNITS_00000.BMP"});
  EXPECT_TRUE(context.ShpRejected);
}

TEST_F(ConversionTest, MoreSubImagesThanFiveDigitsNumberAreRefusedWhole) {
  testing::WriteFile(context.BmpFolder + "HUGE_00000.BMP", "an earlier BMP");
  const auto before = testing::SnapshotFolder(context.BmpFolder);
  Bytes file{'1', '.', '1', '0'};
  platform::AppendInt32(file, kMostConvertibleSubImages + 1);
  file.resize(8 + 8 * static_cast<std::size_t>(kMostConvertibleSubImages + 1), 0);
  Convert("HUGE", file);
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"The file: HUGE.SHP holds 100001 sub-images; BMP-files are "
                                     "numbered with five digits, so no more than 100000 can be "
                                     "made. No BMP-file made."});
  EXPECT_EQ(testing::SnapshotFolder(context.BmpFolder), before);
  EXPECT_TRUE(context.ShpRejected);
}

struct RefusedFile {
  const char* Name;
  Bytes File;
  std::size_t Messages;
};

class RefusedSpriteFile : public ConversionTest,
                          public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RefusedSpriteFile, GetsTheMessageAndNoBmp) {
  Convert("BAD", GetParam().File);
  EXPECT_EQ(ui.Messages(), std::vector<std::string>(
                               GetParam().Messages,
                               "The file: BAD.SHP is not a valid SHP-file. No BMP-file made."));
  EXPECT_TRUE(BmpNames().empty());
  EXPECT_TRUE(context.ShpRejected);
}

Bytes WithCount(std::int32_t count, std::size_t length) {
  Bytes file{'1', '.', '1', '0'};
  platform::AppendInt32(file, count);
  file.resize(length, 0);
  return file;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedSpriteFile,
    ::testing::Values(RefusedFile{"EmptyFile", {}, 1},
                      RefusedFile{"CountZero", WithCount(0, 64), 1},
                      RefusedFile{"CountNegative", WithCount(-1, 64), 1},
                      RefusedFile{"CountBeyondTheFile", WithCount(1000000, 64), 1},
                      // The table fits, so each of the two sub-images is refused on its own.
                      RefusedFile{"FortyBytes", WithCount(2, 40), 2},
                      RefusedFile{"NegativeSize",
                                  testing::SpriteFileOf({{-1, 3, 0, 0, 0, 0, {3, 9, 0}}}), 1}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ConversionTest, AHeaderOutsideThePictureGivesATransparentPictureWithoutMessage) {
  Convert("ICONS", testing::SpriteFileOf({{1, 2, 5, 0, 5, 1, {3, 9, 0}}, kPixel}));
  ASSERT_EQ(BmpNames().size(), 2u);
  const Bytes bmp = testing::ReadFile(context.BmpFolder + "ICONS_00000.BMP");
  ASSERT_EQ(bmp.size(), 1078u + 4 * 2);
  EXPECT_EQ(Bytes(bmp.begin() + 1078, bmp.end()), (Bytes{213, 213, 213, 0, 213, 213, 213, 0}));
  EXPECT_TRUE(ui.Events().empty());
}

struct PaletteChoice {
  const char* SpriteName;
  PaletteId Expected;
};

class PaletteChoiceByName : public ConversionTest,
                            public ::testing::WithParamInterface<PaletteChoice> {};

TEST_P(PaletteChoiceByName, ColoursTheBmpsWithThePaletteOfTheName) {
  Convert(GetParam().SpriteName, testing::SpriteFileOf({kPixel}));
  const Bytes bmp =
      testing::ReadFile(context.BmpFolder + GetParam().SpriteName + std::string("_00000.BMP"));
  ASSERT_EQ(bmp.size(), 1082u);
  const bool day = GetParam().Expected == PaletteId::Day;
  const auto p = static_cast<std::uint8_t>(GetParam().Expected);
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const Bytes expected = day && i == 213 ? Bytes{225, 225, 255, 0}
                                           : Bytes{p, static_cast<std::uint8_t>(i),
                                                   static_cast<std::uint8_t>(255 - i), 0};
    ASSERT_EQ(Bytes(bmp.begin() + 54 + 4 * i, bmp.begin() + 58 + 4 * i), expected) << i;
  }
  EXPECT_EQ(palettes.UseTransparency, day);
}

INSTANTIATE_TEST_SUITE_P(Names, PaletteChoiceByName,
                         ::testing::Values(PaletteChoice{"MAINMENU", PaletteId::Main},
                                           PaletteChoice{"mainmenu", PaletteId::Main},
                                           PaletteChoice{"MainMen2", PaletteId::Menu2},
                                           PaletteChoice{"TURN01_U", PaletteId::Turn01U},
                                           PaletteChoice{"turn03_u", PaletteId::Turn03U},
                                           PaletteChoice{"TURN06_U", PaletteId::Turn06U},
                                           PaletteChoice{"TURN01_J", PaletteId::Turn01J},
                                           PaletteChoice{"Turn06_j", PaletteId::Turn06J},
                                           PaletteChoice{"TURN07_U", PaletteId::Day},
                                           PaletteChoice{"TURN01U", PaletteId::Day},
                                           PaletteChoice{"MAIN", PaletteId::Day},
                                           PaletteChoice{"UNITICON", PaletteId::Day}),
                         [](const auto& info) { return std::string(info.param.SpriteName); });

TEST_F(ConversionTest, ABmpThatCannotBeWrittenEndsTheConversionAndReplacesNoBmp) {
  testing::WriteFile(context.BmpFolder + "CURSORS_00000.BMP", "earlier");
  platform::FaultInjection::Reset();
  // Write 1 is the journal's, 2 and 3 the first BMP's; the second BMP fails in its header.
  platform::FaultInjection::FailAt(platform::FileOperation::Write, 4, "No space left on device");
  Convert("CURSORS", testing::SpriteFileOf({kPixel, kPixel, kPixel}));
  platform::FaultInjection::Reset();
  // The first stays unwritten.
  EXPECT_EQ(BmpNames(), std::vector<std::string>{"CURSORS_00000.BMP"});
  EXPECT_EQ(testing::ReadText(context.BmpFolder + "CURSORS_00000.BMP"), "earlier");
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"The file " + context.BmpFolder +
                                                    "CURSORS_00001.BMP cannot be written: No "
                                                    "space left on device."});
  EXPECT_TRUE(context.ShpRejected);
  EXPECT_EQ(context.ImageIndex, 1);
}

// The archive shrinks while its member is converted: the conversion stops with the reason and
// stages nothing more, so that no BMP of a misread picture is ever put in place.
TEST_F(ConversionTest, ASourceThatCannotBeReadEndsTheConversion) {
  context.MemberName = "CURSORS";
  const Bytes file = testing::SpriteFileOf({kPixel, kPixel, kPixel});
  const SpriteMember member(file, 5);
  std::filesystem::resize_file(member.ArchivePath(), SpriteMember::kBytesBefore + file.size() - 2);
  const auto lock =
      platform::FolderLock::Take(context.ExtractFolder, platform::LockMode::Exclusive);
  ASSERT_TRUE(lock);
  platform::FileTransaction bmps(lock.Value());
  EXPECT_FALSE(StageShpConversion(member.Reader(), member.ArchivePath(),
                                  {context, palettes, picture}, bmps, ui));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot read " + member.ArchivePath() +
                                                    ": The file ends too early"});
  EXPECT_TRUE(context.ShpRejected);
  EXPECT_EQ(context.ImageIndex, 2);
  EXPECT_EQ(bmps.StagedCount(), 2u);
}

TEST_F(ConversionTest, BmpsGoIntoAnExistingFileOfAnotherCase) {
  testing::WriteFile(context.BmpFolder + "panels_00001.bmp", "old");
  Convert("PANELS", testing::SpriteFileOf({kPixel, kPixel}));
  EXPECT_EQ(BmpNames(), (std::vector<std::string>{"PANELS_00000.BMP", "panels_00001.bmp"}));
  EXPECT_EQ(testing::ReadFile(context.BmpFolder + "panels_00001.bmp").size(), 1082u);
}

}  // namespace
}  // namespace zorvane::graphics
