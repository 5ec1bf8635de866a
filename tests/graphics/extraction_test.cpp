#include <gtest/gtest.h>
#include <spng.h>

#include <filesystem>
#include <sstream>

#include "graphics/member_extraction.h"
#include "graphics/palette_export.h"
#include "graphics/png_reader.h"
#include "graphics/sprite_conversion.h"
#include "graphics/sprite_packer.h"
#include "graphics/sprite_sheet.h"
#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "platform/text_lines.h"
#include "sprite_member.h"
#include "support/files.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using testing::NativePath;

using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using testing::HandMadeSubImage;

const HandMadeSubImage kPixel{0, 0, 0, 0, 0, 0, {3, 9, 0}};

// A DATA folder whose SHP.PFP holds the 100 bytes 0..99 and whose PAL.PFP is one palette:
// entry i is Blue i, Green 255 - i, Red (7 * i) mod 256, Spare 100 + i, but entry 213 is Blue
// 10, Green 20, Red 30, Spare 44. Sprite files are converted in ICONS/ of the DATA folder.
class Extraction : public ::testing::Test {
 protected:
  void SetUp() override {
    Bytes shp(100), pal;
    for (std::size_t i = 0; i < shp.size(); ++i) shp[i] = static_cast<std::uint8_t>(i);
    for (int i = 0; i < 256; ++i) {
      pal.insert(pal.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(7 * i), static_cast<std::uint8_t>(100 + i)});
    }
    std::copy_n(Bytes{10, 20, 30, 44}.begin(), 4, pal.begin() + 4 * 213);
    testing::WriteFile(data / "SHP.PFP", shp);
    testing::WriteFile(data / "PAL.PFP", pal);
    std::filesystem::create_directory(data / "TOVRIN_PFP");
    context.ExtractFolder = data / "ICONS/";
    context.BmpFolder = data / "ICONS/BMPFILES/";
    context.MemberExtension = ".SHP";
    std::filesystem::create_directories(context.BmpFolder);
  }

  void Extract(const MemberToExtract& member) {
    ui.Clear();
    ExtractMember({data.Path(), program.Path()}, member, {context, palettes, picture}, ui);
  }

  // Palette tables told apart: entry i of table p is (p, i, 255 - i), Spare 99.
  void Convert(const std::string& name, const Bytes& file) {
    for (std::size_t p = 0; p < kPaletteCount; ++p) {
      for (std::size_t i = 0; i < kPaletteEntries; ++i) {
        palettes.PaletteTables[p][i] = {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(i),
                                        static_cast<std::uint8_t>(255 - i), 99};
      }
    }
    context.MemberName = name;
    testing::WriteFile(context.ExtractFolder + name + ".SHP", file);
    ConvertShpToBmp({context, palettes, picture}, ui);
  }

  // The BMPs of the last conversion; a next name may differ only in case.
  Names TakeBmps() {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(context.BmpFolder)) {
      names.push_back(entry.path().filename().string());
      std::filesystem::remove(entry.path());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempFolder data;
  testing::TempFolder program;
  ExtractionContext context;
  PaletteState palettes;
  PictureState picture;
  platform::ScriptedUi ui;
};

// Each is named in a message and changes nothing in either folder.
TEST_F(Extraction, RefusedMembersChangeNothing) {
  using enum MemberArchive;
  const auto outside = [this](const std::string& name, const std::string& archive,
                              std::int64_t length, std::int64_t offset, int archiveLength) {
    return "The file: " + name + " cannot be extracted: its " + std::to_string(length) +
           " bytes at offset " + std::to_string(offset) + " do not lie in " + data.Path() +
           archive + ", which holds " + std::to_string(archiveLength) +
           " bytes.\r\nThe index of your game does not match its archive.";
  };
  std::vector<std::pair<MemberToExtract, std::string>> members{
      {{Shp, "ICONS", 90, 11}, outside("ICONS", "SHP.PFP", 11, 90, 100)},
      {{Shp, "ICONS", -1, 5}, outside("ICONS", "SHP.PFP", 5, -1, 100)},
      {{Shp, "ICONS", 5, -5}, outside("ICONS", "SHP.PFP", -5, 5, 100)},
      {{Shp, "ICONS", 50, 2147483647}, outside("ICONS", "SHP.PFP", 2147483647, 50, 100)},
      {{Pal, "DAY", 1024, 1024}, outside("DAY", "PAL.PFP", 1024, 1024, 1024)},
      {{Pal, "DAY", -4, 1024}, outside("DAY", "PAL.PFP", 1024, -4, 1024)},
      {{Til, "T_FRT_DD", 0, 10},
       "I cannot find the file: " + data.Path() +
           "TIL.PFP\r\nThis file MUST be in the DATA folder of your game. Check your settings for "
           "this program."}};
  for (const std::string name : {"..", ".", "", "A/B", "..\\EVIL", "C:X", "../DAY"}) {
    members.push_back({{name == "../DAY" ? Pal : Shp, name, 0, 10},
                       "The member name '" + name +
                           "' cannot be used as a file name, because it is empty or names a "
                           "folder. Nothing has been extracted."});
  }
  const auto dataBefore = testing::SnapshotFolder(data.Path());
  const auto programBefore = testing::SnapshotFolder(program.Path());
  for (const auto& [member, message] : members) {
    SCOPED_TRACE(message);
    Extract(member);
    EXPECT_EQ(testing::SnapshotFolder(data.Path()), dataBefore);
    EXPECT_EQ(testing::SnapshotFolder(program.Path()), programBefore);
    EXPECT_EQ(ui.Messages(), Names{message});
    EXPECT_FALSE(context.Completed);
    EXPECT_FALSE(ui.Busy());
  }
}

// The whole archive, from its first byte to its last, is copied; an empty member is refused
// as a sprite file.
TEST_F(Extraction, AMemberIsCopiedByteForByte) {
  Extract({MemberArchive::Shp, "WHOLE", 0, 100});
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/WHOLE.SHP"),
            testing::ReadFile(data / "SHP.PFP"));
  Extract({MemberArchive::Shp, "EMPTY", 100, 0});
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/EMPTY.SHP"), Bytes{});
  EXPECT_TRUE(std::filesystem::is_empty(data / "TOVRIN_PFP/ICONS/BMPFILES"));
  EXPECT_EQ(ui.Messages(), Names{"The file: EMPTY.SHP is not a valid SHP-file. No BMP-file made."});
  EXPECT_FALSE(context.Completed);
}

Bytes WithInt32(Bytes file, std::size_t at, std::int32_t value) {
  platform::WriteInt32(file.data() + at, value);
  return file;
}

Bytes WithCount(std::int32_t count, std::size_t length) {
  Bytes file{'1', '.', '1', '0', 0, 0, 0, 0};
  file.resize(length, 0);
  return WithInt32(file, 4, count);
}

const std::string kNotValid = "The file: T.SHP is not a valid SHP-file. No BMP-file made.";

struct ConvertCase {
  const char* Name;
  Bytes File;
  Names Bmps;
  Names Messages;
  bool Rejected;  // the last sub-image, or the file
  std::int32_t ImageIndex;
};
using C = ConvertCase;

// A rejected sub-image gets the message and no BMP, the others keep their numbers; only the
// last one (or the whole file) marks the conversion rejected.
TEST_F(Extraction, EverySubImageThatCanBeReadBecomesANumberedBmp) {
  const Bytes three = testing::SpriteFileOf({kPixel, kPixel, kPixel});
  const ConvertCase cases[] = {
      C("Thirteen", testing::SpriteFileOf(std::vector(13, kPixel)),
        {"T_00000.BMP", "T_00001.BMP", "T_00002.BMP", "T_00003.BMP", "T_00004.BMP", "T_00005.BMP",
         "T_00006.BMP", "T_00007.BMP", "T_00008.BMP", "T_00009.BMP", "T_00010.BMP", "T_00011.BMP",
         "T_00012.BMP"},
        {}, false, 13),
      C("SecondPointsIntoTheTable", WithInt32(three, 16, 12), {"T_00000.BMP", "T_00002.BMP"},
        {kNotValid}, false, 3),
      C("LastWithNegativeReserved", WithInt32(three, 28, -1), {"T_00000.BMP", "T_00001.BMP"},
        {kNotValid}, true, 3),
      C("EmptyFile", {}, {}, {kNotValid}, true, 0),
      C("CountZero", WithCount(0, 64), {}, {kNotValid}, true, 0),
      C("CountNegative", WithCount(-1, 64), {}, {kNotValid}, true, 0),
      C("CountBeyondTheFile", WithCount(1000000, 64), {}, {kNotValid}, true, 0),
      // The table fits, so each of the two sub-images is refused on its own.
      C("FortyBytes", WithCount(2, 40), {}, {kNotValid, kNotValid}, true, 2),
      C("NegativeSize", testing::SpriteFileOf({{-1, 3, 0, 0, 0, 0, {3, 9, 0}}}), {}, {kNotValid},
        true, 1),
      C("MoreThanFiveDigitsNumber", WithCount(100001, 8 + 8 * 100001), {},
        {"The file: T.SHP holds 100001 sub-images; BMP-files are numbered with five digits, so no "
         "more than 100000 can be made. No BMP-file made."},
        true, 0)};
  for (const ConvertCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ui.Clear();
    Convert("T", c.File);
    EXPECT_EQ(TakeBmps(), c.Bmps);
    EXPECT_EQ(ui.Messages(), c.Messages);
    EXPECT_EQ(context.ShpRejected, c.Rejected);
    EXPECT_EQ(context.ImageIndex, c.ImageIndex);
  }
}

// Entirely transparent, with pad bytes 0, and no message. The header is that of an
// uncompressed 8-bit BMP whatever the picture state held before.
TEST_F(Extraction, AHeaderOutsideThePictureGivesATransparentPicture) {
  picture.BmpHeader.biCompression = 7;
  Convert("ICONS", testing::SpriteFileOf({{1, 2, 5, 0, 5, 1, {3, 9, 0}}, kPixel}));
  const Bytes bmp = testing::ReadFile(context.BmpFolder + "ICONS_00000.BMP");
  ASSERT_EQ(bmp.size(), 1078u + 4 * 2);
  EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 54),
            (Bytes{'B', 'M', 0x3E, 4, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40, 0, 0, 0,
                   3,   0,   0,    0, 2, 0, 0, 0, 1, 0, 8,    0, 0, 0, 0,  0, 8, 0,
                   0,   0,   0,    0, 0, 0, 0, 0, 0, 0, 0,    1, 0, 0, 0,  0, 0, 0}));
  EXPECT_EQ(Bytes(bmp.begin() + 1078, bmp.end()), (Bytes{213, 213, 213, 0, 213, 213, 213, 0}));
  EXPECT_EQ(TakeBmps(), (Names{"ICONS_00000.BMP", "ICONS_00001.BMP"}));
  EXPECT_TRUE(ui.Events().empty());
}

// The palette follows the sprite's name; only DAY shows 213 as pink and sets UseTransparency.
TEST_F(Extraction, ColoursTheBmpsWithThePaletteOfTheName) {
  const std::pair<const char*, PaletteId> names[] = {
      {"mainmenu", PaletteId::Main},    {"MainMen2", PaletteId::Menu2},
      {"TURN01_U", PaletteId::Turn01U}, {"Turn06_j", PaletteId::Turn06J},
      {"TURN07_U", PaletteId::Day},     {"TURN01U", PaletteId::Day},
      {"MAIN", PaletteId::Day},         {"UNITICON", PaletteId::Day}};
  for (const auto& [name, id] : names) {
    SCOPED_TRACE(name);
    Convert(name, testing::SpriteFileOf({kPixel}));
    const Bytes bmp = testing::ReadFile(context.BmpFolder + name + "_00000.BMP");
    TakeBmps();
    ASSERT_EQ(bmp.size(), 1082u);
    const auto p = static_cast<std::uint8_t>(id);
    const bool day = id == PaletteId::Day;
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 58), (Bytes{p, 0, 255, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 906, bmp.begin() + 910),
              day ? (Bytes{225, 225, 255, 0}) : (Bytes{p, 213, 42, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 1074, bmp.begin() + 1078), (Bytes{p, 255, 0, 0}));
    EXPECT_EQ(palettes.UseTransparency, day);
  }
}

// The alphas of a PNG's tRNS chunk; nothing without one.
Bytes TransparencyOf(const Bytes& png) {
  const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> reader(spng_ctx_new(0), spng_ctx_free);
  spng_set_png_buffer(reader.get(), png.data(), png.size());
  spng_trns trns{};
  if (spng_get_trns(reader.get(), &trns) != 0) return {};
  return Bytes(trns.type3_alpha, trns.type3_alpha + trns.n_type3_entries);
}

// PNGs hold the colours of the BMPs in game order and the same indices; where the palette has
// transparency a tRNS chunk makes 213, and only it, transparent. A sheet holds every sub-image
// at the place its list of frames gives, in a grid of cells as large as the largest.
TEST_F(Extraction, PngsAndSheetsHoldTheColoursAndIndicesOfTheBmps) {
  const testing::Rows first{{1, 213, 3}, {4, 5, 6}}, second{{7}, {8}, {213}};
  for (const auto& [name, transparent] : {std::pair{"UNITICON", true}, {"MAINMENU", false}}) {
    SCOPED_TRACE(name);
    SpritePacker packer;
    packer.Add(testing::PictureOf(first), transparent);
    packer.Add(testing::PictureOf(second), transparent);
    context.Format = PictureFormat::Png;
    Convert(name, packer.FileBytes());
    const Palette colours = BmpColours(palettes, PaletteForSprite(name));
    const std::string base = context.BmpFolder + name;
    for (const auto& [file, rows] : {std::pair{"_00000.PNG", first}, {"_00001.PNG", second}}) {
      const Bytes png = testing::ReadFile(base + file);
      const auto image = DecodePng(png, colours);
      ASSERT_TRUE(image && image.Value().GamePalette);
      testing::Rows read(rows.size());
      for (std::size_t i = 0; i < image.Value().Pixels.size(); ++i)
        read[i / rows[0].size()].push_back(image.Value().Pixels[i]);
      EXPECT_EQ(read, rows);
      Bytes alphas(transparent ? 214 : 0, 255);
      if (transparent) alphas[213] = 0;
      EXPECT_EQ(TransparencyOf(png), alphas);
    }
    EXPECT_EQ(TakeBmps(),
              (Names{name + std::string("_00000.PNG"), name + std::string("_00001.PNG")}));
    context.Format = PictureFormat::Sheet;
    Convert(name, packer.FileBytes());
    const auto sheet = DecodePng(testing::ReadFile(base + ".PNG"), colours);
    EXPECT_EQ(TakeBmps(), Names{name + std::string(".PNG")});
    ASSERT_TRUE(sheet && sheet.Value().GamePalette);
    EXPECT_EQ(sheet.Value().Texts.size(), 1u);
    EXPECT_EQ(sheet.Value().Texts[0].Keyword, "Zorvane frames");
    EXPECT_EQ(sheet.Value().Texts[0].Text, "frames 2\n0 0 3 2\n3 0 1 3\n");
    const std::uint8_t o = transparent ? 213 : 0;  // outside every frame
    EXPECT_EQ(sheet.Value().Pixels,
              (Bytes{1, 213, 3, 7, o, o, 4, 5, 6, 8, o, o, o, o, o, 213, o, o}));
    EXPECT_EQ(ui.Messages(), Names{});
  }
}

// A sheet larger than 2^28 pixels is refused before a picture is decoded, and nothing is
// written; each line of a frame list that is not exactly "X Y W H" inside the sheet refuses it.
TEST_F(Extraction, SheetsRefuseTooManyPixelsAndListsThatDoNotFit) {
  context.Format = PictureFormat::Sheet;
  Convert("HUGE", testing::SpriteFileOf({{16384, 16383, 0, 0, 0, 0, {3, 9, 0}}}));
  EXPECT_EQ(ui.Messages(),
            Names{"The file: HUGE.SHP has more pixels than one sheet can hold "
                  "(268435456). Extract it as BMP or PNG files. No PNG sheet made."});
  EXPECT_TRUE(context.ShpRejected);
  EXPECT_EQ(TakeBmps(), Names{});
  const std::string unreadable = "its list of frames cannot be read.";
  const std::pair<std::string, std::string> lists[] = {
      {"frames 2\n0 0 3 2\n3 0 1 3\n", ""},
      {"frames 0\n", unreadable},
      {"frames x\n0 0 1 1\n", unreadable},
      {"frames 1\n0 0 1 1", unreadable},
      {"frames 2\n0 0 1 1\n", unreadable},
      {"frames 1\n0 0 1 1\n0 0 1 1\n", unreadable},
      {"frames 1\n0  0 1 1\n", unreadable},
      {"frames 1\n0 0 1\n", unreadable},
      {"frames 1\n-1 0 1 1\n",
       "frame 0 (1 x 1 pixels at -1, 0) does not lie inside the sheet "
       "of 4 x 3 pixels."},
      {"frames 1\n2 1 3 1\n",
       "frame 0 (3 x 1 pixels at 2, 1) does not lie inside the sheet of "
       "4 x 3 pixels."},
      {"frames 1\n0 0 0 1\n",
       "frame 0 (0 x 1 pixels at 0, 0) does not lie inside the sheet of "
       "4 x 3 pixels."}};
  for (const auto& [text, reason] : lists) {
    const auto frames = ParseSheetFrames(text, 4, 3);
    EXPECT_EQ(frames ? "" : frames.Reason(), reason) << text;
  }
  EXPECT_EQ(ParseSheetFrames(lists[0].first, 4, 3).Value(),
            (std::vector<SheetFrame>{{0, 0, 3, 2}, {3, 0, 1, 3}}));
}

// The archive shrinks while its member is converted: the conversion stops with the reason and
// stages nothing more, so that no BMP of a misread picture is ever put in place.
TEST_F(Extraction, ASourceThatCannotBeReadEndsTheConversion) {
  context.MemberName = "CURSORS";
  const Bytes file = testing::SpriteFileOf({kPixel, kPixel, kPixel});
  const SpriteMember member(file, 5);
  std::filesystem::resize_file(member.ArchivePath(), SpriteMember::kBytesBefore + file.size() - 2);
  const auto lock =
      platform::FolderLock::Take(context.ExtractFolder, platform::LockMode::Exclusive);
  ASSERT_TRUE(lock);
  platform::FileTransaction bmps(lock.Value());
  ConversionRun run(context.BmpFolder, 3);
  EXPECT_FALSE(StageShpConversion(member.Reader(), member.ArchivePath(),
                                  {context, palettes, picture}, bmps, ui, run));
  EXPECT_EQ(ui.Messages(),
            Names{"Cannot read " + member.ArchivePath() + ": The file ends too early"});
  EXPECT_TRUE(context.ShpRejected);
  EXPECT_EQ(context.ImageIndex, 2);
  EXPECT_EQ(bmps.StagedCount(), 2u);
}

// The paint programs' files show entry 213 in pink only for the member named exactly DAY; the
// table of the name (DAY for an unknown name) is refreshed, the DAY table always with pink.
TEST_F(Extraction, APaletteBecomesFourFilesAndRefreshesTheTableOfItsName) {
  const std::tuple<const char*, PaletteId, bool, bool> members[] = {
      {"DAY", PaletteId::Day, true, true},           {"MAIN", PaletteId::Main, false, false},
      {"TURN03J", PaletteId::Turn03J, false, false}, {"menu2", PaletteId::Menu2, false, false},
      {"day", PaletteId::Day, false, true},          {"NIGHT", PaletteId::Day, false, true}};
  const std::string folder = data.Path() + NativePath("TOVRIN_PFP/PALETTES/");
  for (const auto& [name, table, pinkInFiles, pinkInTable] : members) {
    SCOPED_TRACE(name);
    palettes = PaletteState{};
    Extract({MemberArchive::Pal, name, 0, 24});
    EXPECT_TRUE(context.Completed);
    const std::string text = testing::ReadText(folder + name + "-palette for PSP.PAL");
    const auto lines = platform::SplitTextLines(text);
    ASSERT_EQ(lines.size(), 259u);
    EXPECT_TRUE(text.ends_with("\r\n249 0 255\r\n"));
    EXPECT_EQ((std::vector(lines.begin(), lines.begin() + 5)),
              (Names{"JASC-PAL", "0100", "256", "0 255 0", "7 254 1"}));
    EXPECT_EQ(lines[216], pinkInFiles ? "255 225 225" : "30 20 10");
    const Bytes act = testing::ReadFile(folder + name + "-palette for Photoshop.ACT");
    ASSERT_EQ(act.size(), 768u);
    EXPECT_EQ(Bytes(act.begin(), act.begin() + 6), (Bytes{0, 255, 0, 7, 254, 1}));
    EXPECT_EQ(Bytes(act.begin() + 639, act.begin() + 642),
              pinkInFiles ? (Bytes{255, 225, 225}) : (Bytes{30, 20, 10}));
    EXPECT_EQ(Bytes(act.end() - 3, act.end()), (Bytes{249, 0, 255}));
    EXPECT_EQ(testing::ReadFile(program.Path() + name + ".RGB"),
              testing::ReadFile(data / "PAL.PFP"));
    // GIMP's lines end in LF alone.
    const std::string gimpText = testing::ReadText(folder + name + ".gpl");
    EXPECT_TRUE(gimpText.ends_with("\n249   0 255\tIndex 255\n"));
    Names gpl;
    std::istringstream gimp(gimpText);
    for (std::string line; std::getline(gimp, line);) gpl.push_back(line);
    ASSERT_EQ(gpl.size(), 260u);
    EXPECT_EQ((Names(gpl.begin(), gpl.begin() + 6)),
              (Names{"GIMP Palette", "Name: " + std::string(name), "Columns: 16", "#",
                     "  0 255   0\tIndex 0", "  7 254   1\tIndex 1"}));
    EXPECT_EQ(gpl[217], pinkInFiles ? "255 225 225\tIndex 213" : " 30  20  10\tIndex 213");
    // The next name may differ only in case.
    std::filesystem::remove(program.Path() + name + ".RGB");
    std::filesystem::remove_all(folder);
    const Palette& refreshed = palettes.Table(table);
    EXPECT_EQ(std::count(palettes.PaletteTables.begin(), palettes.PaletteTables.end(), Palette{}),
              14);
    EXPECT_EQ(refreshed[0], (PaletteEntry{0, 255, 0, 0}));
    EXPECT_EQ(refreshed[213],
              pinkInTable ? (PaletteEntry{225, 225, 255, 0}) : (PaletteEntry{10, 20, 30, 0}));
    EXPECT_EQ(refreshed[255], (PaletteEntry{255, 0, 249, 0}));
    EXPECT_EQ(ui.Messages(),
              Names{std::string(name) +
                    "-palettes for Adobe Photoshop and PaintShopPro has been "
                    "created in \r\n" +
                    folder + "\r\n" + name + "-palette for GIMP has been created as " + name +
                    ".gpl in the same folder."});
  }
  // A palette running past the archive's end gets zeros.
  Extract({MemberArchive::Pal, "TURN01U", 1000, 24});
  const Bytes pal = testing::ReadFile(data / "PAL.PFP");
  Bytes expected(pal.begin() + 1000, pal.end());
  expected.resize(1024, 0);
  EXPECT_EQ(testing::ReadFile(program / "TURN01U.RGB"), expected);
}

// The n-th rename fails, for every n the export reaches: until it completes, the earlier PSP,
// ACT and GIMP files and the internal palette all stay; then all four are new.
TEST_F(Extraction, APalettesFilesReplaceTheirEarlierVersionsTogether) {
  const std::string folder = data.Path() + NativePath("TOVRIN_PFP/PALETTES/");
  std::filesystem::create_directories(folder);
  for (const std::string& path :
       {folder + "DAY-palette for PSP.PAL", folder + "DAY-palette for Photoshop.ACT",
        folder + "DAY.gpl", program.Path() + "DAY.RGB"}) {
    testing::WriteFile(path, "earlier");
  }
  const auto state = [this] {
    return std::pair(testing::SnapshotFolder(data.Path()), testing::SnapshotFolder(program.Path()));
  };
  const auto before = state();
  int n = 1;
  for (; n < 50; ++n) {
    platform::FaultInjection::FailAt(platform::FileOperation::Rename, n);
    Extract({MemberArchive::Pal, "DAY", 0, 24});
    platform::FaultInjection::Reset();
    if (context.Completed) break;
    ASSERT_EQ(state(), before) << n;
  }
  EXPECT_GT(n, 4);
  const auto after = testing::SnapshotFolder(folder);
  ASSERT_EQ(after.size(), 3u);
  for (const auto& [file, bytes] : after) EXPECT_NE(bytes, testing::BytesOf("earlier")) << file;
  EXPECT_EQ(testing::ReadFile(program.Path() + "DAY.RGB"), testing::ReadFile(data / "PAL.PFP"));
}

// The internal palette files: entry i of palette p is (p, i, 2 * i, Spare 77).
void WriteInternalPalettes(const std::string& folder) {
  for (std::size_t p = 0; p < kPaletteCount; ++p) {
    Bytes bytes;
    for (int i = 0; i < 256; ++i) {
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(i),
                                 static_cast<std::uint8_t>(2 * i), 77});
    }
    testing::WriteFile(folder + std::string(kPaletteNames[p]) + ".RGB", bytes);
  }
}

// Only the colours are loaded (the Spare bytes of the tables stay), DAY's 213 as stored.
TEST_F(Extraction, CheckPalettesLoadsTheColoursOfAll15WhateverTheCaseOfTheirNames) {
  WriteInternalPalettes(program.Path());
  std::filesystem::rename(program / "MENU2.RGB", program / "menu2.rgb");
  for (auto& table : palettes.PaletteTables) table[3].Spare = 9;
  ASSERT_TRUE(CheckPalettes(program.Path(), palettes, ui));
  EXPECT_TRUE(ui.Events().empty());
  EXPECT_EQ(palettes.Table(PaletteId::Day)[213], (PaletteEntry{0, 213, 170, 0}));
  EXPECT_EQ(palettes.Table(PaletteId::Menu2)[3], (PaletteEntry{2, 3, 6, 9}));
  EXPECT_EQ(palettes.Table(PaletteId::Turn06J)[255], (PaletteEntry{14, 255, 254, 0}));
  EXPECT_EQ(palettes.PaletteRaw[1], (PaletteEntry{14, 1, 2, 77}));
}

TEST_F(Extraction, CheckPalettesLoadsNothingWhenOneIsMissingOrShort) {
  const std::string missing =
      "The program need to generate internal palettes from your PacGen installation,\r\n"
      "to be able to work correct with icons and Tiles.\r\n"
      "To make these palettes, click the 'Toggle Details' button,\r\n"
      "Click the 'PAL.PFP' option and doubleclick each of the palettefiles in the list.\r\n"
      "Doing this you will get palettes for Photoshop and PaintShopPro generated, and this message "
      "will no longer appear.";
  const auto expectRefused = [this](const std::string& message) {
    palettes = PaletteState{};
    ui.Clear();
    EXPECT_FALSE(CheckPalettes(program.Path(), palettes, ui));
    EXPECT_EQ(ui.Messages(), Names{message});
    for (const Palette& table : palettes.PaletteTables) EXPECT_EQ(table, Palette{});
  };
  WriteInternalPalettes(program.Path());
  std::filesystem::remove(program / "TURN06J.RGB");  // the last one read
  expectRefused(missing);
  WriteInternalPalettes(program.Path());
  testing::WriteFile(program / "TURN02J.RGB", Bytes(1000, 1));
  expectRefused("Cannot read " + program.Path() +
                "TURN02J.RGB: it holds 1000 bytes instead of 1024\r\n" + missing);
}

}  // namespace
}  // namespace zorvane::graphics
