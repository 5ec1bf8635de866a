#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "graphics/bmp_reader.h"
#include "graphics/bmp_repack.h"
#include "graphics/palette_export.h"
#include "graphics/png_file.h"
#include "graphics/sprite_conversion.h"
#include "platform/fault_injection.h"
#include "platform/little_endian.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/pictures.h"
#include "support/sprite_builder.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using testing::NativePath;

using Bytes = std::vector<std::uint8_t>;
using testing::WithField;

// Field offsets of the BMP header.
constexpr std::size_t kType = 0, kOffBits = 10, kInfoSize = 14, kWidth = 18, kHeight = 22,
                      kBitCount = 28, kCompression = 30, kClrUsed = 46;

const Bytes kValid = testing::BmpBytesOf({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
// Its pixels, bottom row first, as the buffer holds them.
const Bytes kPixels{6, 7, 8, 9, 10, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0};

Bytes Prefix(const Bytes& bytes, std::size_t length) {
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

Bytes Changed(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes.at(at) = value;
  return bytes;
}

Bytes Padded(Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

// kValid with other header fields, its pixels placed at `pixelsAt` after filler bytes.
Bytes Layout(std::uint32_t infoSize, std::uint32_t clrUsed, std::uint32_t offBits,
             std::size_t pixelsAt) {
  Bytes bmp =
      WithField(WithField(Prefix(kValid, 54), kOffBits, 4, offBits), kInfoSize, 4, infoSize);
  bmp = WithField(bmp, kClrUsed, 4, clrUsed);
  bmp.resize(pixelsAt, 0x55);
  bmp.insert(bmp.end(), kValid.begin() + 1078, kValid.end());
  return bmp;
}

struct ReadCase {
  const char* Name;
  Bytes File;
  std::optional<Bytes> Pixels;  // nothing: refused
};

const ReadCase kReadCases[] = {
    {"PadBytesAreReadAsTheFileHasThem", Changed(kValid, 1078 + 6, 0xEE), Changed(kPixels, 6, 0xEE)},
    {"ShortFileLeavesTheMissingPixelsZero", Prefix(kValid, 1081), Padded({6, 7, 8}, 16)},
    {"LargestSides", WithField(WithField(kValid, kWidth, 4, 32768), kHeight, 4, 1),
     Padded(kPixels, 32768)},
    {"HighestPicture", WithField(WithField(kValid, kWidth, 4, 1), kHeight, 4, 32768),
     Padded(kPixels, 4 * 32768)},
    {"NoPixelsAfterThePalette", Prefix(kValid, 1078), Padded({}, 16)},
    // Pixels stand where bfOffBits says when it is sound, else right after the palette.
    {"AsTheToolWritesThem", Layout(40, 256, 1078, 1078), kPixels},
    {"ClrUsedZeroMeans256", Layout(40, 0, 1078, 1078), kPixels},
    {"SixteenColourPalette", Layout(40, 16, 54 + 64, 54 + 64), kPixels},
    {"LongerInformationHeader", Layout(124, 256, 14 + 124 + 1024, 1162), kPixels},
    {"GapAfterThePalette", Layout(40, 256, 2000, 2000), kPixels},
    {"OffBitsInsideThePaletteIsIgnored", Layout(40, 256, 54, 1078), kPixels},
    {"OffBitsPastTheEndIsIgnored", Layout(40, 256, 999999, 1078), kPixels},
    {"OffBitsAtTheEndIsIgnored", Layout(40, 256, 1094, 1078), kPixels},
    {"OffBitsZeroIsIgnored", Layout(40, 16, 0, 54 + 64), kPixels},
    {"TwentyFourBit", WithField(kValid, kBitCount, 2, 24), std::nullopt},
    {"RunLengthCoded", WithField(kValid, kCompression, 4, 1), std::nullopt},
    {"NotBm", WithField(kValid, kType, 2, 'B' | ('A' << 8)), std::nullopt},
    {"WidthZero", WithField(kValid, kWidth, 4, 0), std::nullopt},
    {"HeightZero", WithField(kValid, kHeight, 4, 0), std::nullopt},
    {"TopDown", WithField(kValid, kHeight, 4, static_cast<std::uint32_t>(-2)), std::nullopt},
    {"NegativeWidth", WithField(kValid, kWidth, 4, static_cast<std::uint32_t>(-5)), std::nullopt},
    {"WiderThan32768", WithField(kValid, kWidth, 4, 32769), std::nullopt},
    {"HigherThan32768", WithField(kValid, kHeight, 4, 32769), std::nullopt},
    {"CoreHeader", WithField(kValid, kInfoSize, 4, 12), std::nullopt},
    {"ShorterThanItsHeader", Prefix(kValid, 53), std::nullopt},
    {"ShorterThanItsPalette", Prefix(kValid, 1077), std::nullopt},
    {"ShorterThanItsSmallPalette", Prefix(WithField(kValid, kClrUsed, 4, 16), 54 + 63),
     std::nullopt},
    {"Empty", Bytes{}, std::nullopt}};

// Each file read from disk and from memory; a refused one leaves the picture as it was.
TEST(BmpReading, ReadsThePixelsOfAn8BitBmpAndRefusesEveryOther) {
  testing::TempFolder folder;
  for (const ReadCase& c : kReadCases) {
    SCOPED_TRACE(c.Name);
    testing::WriteFile(folder / "PICTURE.BMP", c.File);
    BmpHeader header;
    PixelBuffer fromFile = testing::PictureOf({{42}});
    PixelBuffer fromMemory = fromFile;
    EXPECT_EQ(ReadBmpFile(folder / "PICTURE.BMP", header, fromFile), c.Pixels.has_value());
    EXPECT_EQ(ReadBmpPicture(c.File, header, fromMemory), c.Pixels.has_value());
    for (const PixelBuffer* read : {&fromFile, &fromMemory}) {
      EXPECT_EQ(read->Bytes, c.Pixels.value_or(Bytes{42, 0, 0, 0}));
      EXPECT_EQ(read->Width, c.Pixels ? platform::ReadInt32(c.File.data() + kWidth) : 1);
    }
  }
  std::filesystem::create_directory(folder / "FOLDER.BMP");
  BmpHeader header;
  PixelBuffer pixels;
  EXPECT_FALSE(ReadBmpFile(folder / "MISSING.BMP", header, pixels));
  EXPECT_FALSE(ReadBmpFile(folder / "FOLDER.BMP", header, pixels));
}

using Names = std::vector<std::string>;
using Event = platform::ScriptedUi::Event;
using testing::Rows;

constexpr int T = 213;
const Rows kSixByThree{{T, T, 5, 5, 5, 9}, {T, T, T, T, T, T}, {7, T, T, 8, 8, T}};
const Rows kAllTransparent{{T, T, T, T}, {T, T, T, T}};

// A DATA folder with the two BMP folders, and everything a double-click in the set list uses.
class Repacking : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(data / "TOVRIN_PFP/ICONS/BMPFILES");
    std::filesystem::create_directories(data / "TOVRIN_PFP/TILES/BMPFILES");
    repack.RepackFolder = NativePath("TOVRIN_PFP/ICONS/");
  }

  void WriteBmp(const std::string& name, const Rows& picture,
                const std::string& folder = "TOVRIN_PFP/ICONS/BMPFILES/") {
    testing::WriteFile(data / (folder + name), testing::BmpBytesOf(picture));
  }

  void Repack(const std::string& row, RepackDestination destination = RepackDestination::Icons) {
    ui.Clear();
    const std::vector<std::string> rows{row};
    listed =
        RepackBmpSets({data.Path(), destination, rows, data.Path()}, repack, palettes, picture, ui);
  }

  Bytes Icon(const std::string& name) const {
    return testing::ReadFile(data / ("TOVRIN_PFP/ICONS/" + name));
  }

  testing::TempFolder data;
  RepackContext repack;
  std::optional<ListedBmpFiles> listed;
  PaletteState palettes;
  PictureState picture;
  platform::ScriptedUi ui;
};

TEST_F(Repacking, TwoPicturesMakeThe87ByteSpriteFile) {
  WriteBmp("NAME_00000.BMP", kSixByThree);
  WriteBmp("NAME_00001.BMP", kAllTransparent);
  Repack("NAME        SHP.PFP             2");
  const std::int32_t start = 0x7FFEFEFE, end = static_cast<std::int32_t>(0x80FEFEFEu);
  EXPECT_EQ(
      Icon("NAME.SHP"),
      testing::SpriteFileOf({{2, 5, 0, 0, 5, 2, {1, 2, 6, 5, 3, 9, 0, 0, 3, 7, 1, 2, 4, 8, 0}},
                             {1, 3, start, start, end, end, {}}}));
  const std::string file = data.Path() + NativePath("TOVRIN_PFP/ICONS/NAME.SHP");
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

// Only the files of the set, in the order of their numbers whatever their case; the sprite file
// takes the set's name in upper case.
TEST_F(Repacking, GapsInTheNumbersCloseUpAndLongerSetsStayOut) {
  WriteBmp("ICON_00000.BMP", {{1}});
  WriteBmp("ICON_00001.BMP", {{2}});
  WriteBmp("icon_00002.bmp", {{4, 5}});
  WriteBmp("ICON_00005.BMP", {{3}});
  WriteBmp("ICONS_00000.BMP", {{6}});
  WriteBmp("ICONAB_00000.BMP", {{7}});
  Repack("icon        SHP.PFP             4");
  ASSERT_TRUE(listed);
  EXPECT_EQ(listed->Pattern + " " + std::to_string(listed->Names.size()), "ICON*.BMP 6");
  EXPECT_EQ(Icon("ICON.SHP"), testing::SpriteFileOf({{0, 0, 0, 0, 0, 0, {3, 1, 0}},
                                                     {0, 0, 0, 0, 0, 0, {3, 2, 0}},
                                                     {0, 1, 0, 0, 1, 0, {5, 4, 5, 0}},
                                                     {0, 0, 0, 0, 0, 0, {3, 3, 0}}}));
}

// An all-213 picture is the empty marker with transparency (40 bytes), coded in full without;
// the earlier sprite file is replaced.
TEST_F(Repacking, SetTransparencyFollowsTheDestinationAndTheName) {
  using enum RepackDestination;
  const std::tuple<RepackDestination, const char*, const char*, bool> sets[] = {
      {Icons, "turn03_u", "TURN03_U", false}, {Icons, "  TURN03_U  SHP.PFP", "TURN03_U", false},
      {Icons, "MAINMENU", "MAINMENU", false}, {Icons, "MAINMEN2", "MAINMEN2", false},
      {Icons, "TURN06_J", "TURN06_J", false}, {Icons, "UNITICON", "UNITICON", true},
      {Icons, "TURN07_U", "TURN07_U", true},  {Tiles, "MAINMENU", "MAINMENU", true},
      {Tiles, "T_CLR_DD", "T_CLR_DD", true}};
  for (const auto& [destination, row, set, transparent] : sets) {
    SCOPED_TRACE(row);
    const std::string folder = destination == Tiles ? "TOVRIN_PFP/TILES/" : "TOVRIN_PFP/ICONS/";
    // Before any listing the destination's own folder is used.
    repack.RepackFolder = destination == Tiles ? "" : folder;
    palettes.UseTransparency = !transparent;
    WriteBmp(std::string(set) + "_00000.BMP", kAllTransparent, folder + NativePath("BMPFILES/"));
    testing::WriteFile(data / (folder + set + ".SHP"), "an earlier sprite file");
    Repack(row, destination);
    EXPECT_EQ(palettes.UseTransparency, transparent);
    EXPECT_EQ(testing::ReadFile(data / (folder + set + ".SHP")).size(),
              transparent ? 40u : 16u + 24 + 2 * 3);
  }
}

// Each refusal is named once and leaves every file as it was, the earlier sprite file too; a
// write that fails in the last row is the only one reached.
TEST_F(Repacking, RefusedSetsChangeNothing) {
  WriteBmp("NAME_00000.BMP", {{1}});
  // Not 8 bits per pixel; the third is invalid too: reading it would show a second message.
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/NAME_00001.BMP",
                     testing::WithField(testing::BmpBytesOf({{1, 2, 3}}), 28, 2, 24));
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/BMPFILES/NAME_00002.BMP", "BA");
  testing::WriteFile(data / "TOVRIN_PFP/ICONS/NAME.SHP", "the earlier sprite file");
  WriteBmp("UNITICONS_00000.BMP", {{1}});
  WriteBmp("UNITICON_00000.BMP", {{2}});
  const std::string folder = data.Path() + NativePath("TOVRIN_PFP/ICONS/BMPFILES");
  const std::pair<std::string, std::string> refusals[] = {
      {"NAME        SHP.PFP             3",
       "File: " + folder + NativePath("/") +
           "NAME_00001.BMP\r\nis NOT a 256 color, uncompressed  BMP file. "
           "Conversion aborted."},
      {"GONE        SHP.PFP             2",
       "There are no BMP files of the set GONE in the folder:\r\n" + folder +
           "\r\nNo SHP file made."},
      {BmpSetRow("UNITICONS", RepackDestination::Icons, 1),
       "The BMP files of the set UNITICON~ cannot be converted: the name of a SHP file has at "
       "most 8 characters.\r\nRename them NAME_00000.BMP, NAME_00001.BMP, ... with a NAME of 8 "
       "characters or fewer."},
      // Write 1 is the journal's, 2 the sprite file's.
      {"UNITICON",
       "The file " + data / "TOVRIN_PFP/ICONS/UNITICON.SHP" + " cannot be written: Disk full."}};
  const auto before = testing::SnapshotFolder(data.Path());
  for (const auto& [row, message] : refusals) {
    SCOPED_TRACE(row);
    repack.Completed = true;
    platform::FaultInjection::FailAt(platform::FileOperation::Write, 2, "Disk full");
    Repack(row);
    platform::FaultInjection::Reset();
    EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
    EXPECT_EQ(ui.Messages(), Names{message});
    EXPECT_FALSE(repack.Completed);
    EXPECT_FALSE(ui.Busy());
  }
}

// A PNG set is refused with its file and the reason, and the folder is left as it was: files of
// two kinds, a colour not in the palette, a sheet without its list of frames or with a list
// that does not fit it, and the internal palettes missing. The palettes are greys, DAY's 213
// pink.
TEST_F(Repacking, RefusedPngSetsNameTheFileAndChangeNothing) {
  Palette greys;
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const auto grey = static_cast<std::uint8_t>(i);
    greys[i] = {grey, grey, grey, 0};
  }
  for (const std::string_view name : kPaletteNames)
    testing::WriteFile(data / InternalPaletteFileName(name), SerialisePalette(greys));
  greys[kTransparentIndex] = kTransparentPink;
  const auto writePng = [&](const std::string& name, const Palette& colours,
                            const std::vector<PngText>& texts = {}) {
    const auto png = IndexedPngBytes(testing::PictureOf({{1, 7}, {213, 2}}), colours, true, texts);
    testing::WriteFile(data / ("TOVRIN_PFP/ICONS/BMPFILES/" + name), png.Value());
  };
  Palette offGrey = greys;
  offGrey[7] = {8, 7, 7, 0};
  writePng("MIXED_00000.PNG", greys);
  WriteBmp("MIXED_00001.BMP", {{1}});
  writePng("OFF_00000.PNG", greys);
  writePng("OFF_00001.PNG", offGrey);
  writePng("SHEET.PNG", greys);
  writePng("LIST.PNG", greys, {{"Zorvane frames", "frames 2\n0 0 2 2\n1 1 1 2\n"}});
  writePng("GREY_00000.PNG", greys);
  const std::string folder = data.Path() + NativePath("TOVRIN_PFP/ICONS/BMPFILES");
  const std::pair<std::string, std::string> refusals[] = {
      {"MIXED",
       "The set MIXED has files of more than one kind in the folder:\r\n" + folder +
           "\r\nKeep either its BMP files, or its PNG files, or its one PNG sheet, and move "
           "the others away. No SHP file made."},
      {"OFF", folder + NativePath("/") +
                  "OFF_00001.PNG: pixel (1, 0) has the colour 7, 7, 8, which is not in the "
                  "DAY palette. No SHP file made."},
      {"SHEET", folder + NativePath("/") +
                    "SHEET.PNG: it holds no list of frames, so it is not a sheet that can "
                    "be packed (a sheet keeps the list its extraction wrote into it). No SHP "
                    "file made."},
      {"LIST", folder + NativePath("/") +
                   "LIST.PNG: frame 1 (1 x 2 pixels at 1, 1) does not lie inside the sheet "
                   "of 2 x 2 pixels. No SHP file made."},
      {"GREY", MissingPalettesMessage()}};
  for (const auto& [row, message] : refusals) {
    SCOPED_TRACE(row);
    if (row == "GREY") std::filesystem::remove(data / "DAY.RGB");
    const auto before = testing::SnapshotFolder(data.Path());
    Repack(row);
    EXPECT_EQ(ui.Messages(), Names{message});
    EXPECT_FALSE(repack.Completed);
    EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  }
}

Names Numbered(const std::string& set, int count, Names names = {}) {
  for (int i = 0; i < count; ++i)
    names.push_back(SubImageFileName(set, i, graphics::PictureFormat::Bmp));
  return names;
}

// Files without a set are passed over; only neighbours in the sorted listing are counted
// together.
TEST(BmpSets, OneRowOfThirtyThreeCharactersForEachRunOfASet) {
  using enum RepackDestination;
  struct Listing {
    Names Files;
    RepackDestination Destination;
    Names Rows;
  };
  using L = Listing;
  const Listing listings[] = {
      L(Numbered("OTHER", 1, Numbered("NAME", 12)), Icons,
        {"NAME        SHP.PFP            12", "OTHER       SHP.PFP             1"}),
      L(Numbered("B_22", 7, Numbered("A_1", 123)), Tiles,
        {"A_1         TIL.PFP           123", "B_22        TIL.PFP             7"}),
      L({"name_00000.bmp", "Name_00001.BMP"}, Icons, {"NAME        SHP.PFP             2"}),
      L({"A.BMP", "NAME_00000.BMP", "NAME.BMP", "NAME_00001.BMP", "_00000.BMP"}, Icons,
        {"NAME        SHP.PFP             2"}),
      // The set is what the first dot leaves when the number's six characters are cut off.
      L({"ABCDEF.BMP", "ABCDEFG.BMP", "AB.CD_00000.BMP", "T_CLR_DD_01999.Bmp"}, Tiles,
        {"A           TIL.PFP             1", "T_CLR_DD    TIL.PFP             1"}),
      L(Numbered("UNITICON", 3, Numbered("UNITICONS", 2)), Icons,
        {"UNITICON~   SHP.PFP             2", "UNITICON    SHP.PFP             3"}),
      L({"A_00000.BMP", "A_0_00000.BMP", "A_ZZZZZ.BMP"}, Icons,
        {"A           SHP.PFP             1", "A_0         SHP.PFP             1",
         "A           SHP.PFP             1"}),
      // PNG sub-images need the five digits; any other PNG is a sheet.
      L({"A_00000.PNG", "a_00001.png", "B.PNG", "B_00000.BMP", "C_00000.BMP", "C_00001.PNG",
         "D.E.PNG", "F_0000X.PNG", "NOTES.TXT"},
        Icons,
        {"A           SHP.PFP             2  PNG",
         "B           SHP.PFP             2  BMP and PNG sheet",
         "C           SHP.PFP             2  BMP and PNG",
         "D           SHP.PFP             1  PNG sheet",
         "F_0000X     SHP.PFP             1  PNG sheet"}),
      L({}, Tiles, {})};
  for (const Listing& l : listings) EXPECT_EQ(BmpSetRows(l.Files, l.Destination), l.Rows);
  EXPECT_EQ(SetNameOf("ABCDEF.BMP"), std::nullopt);
}

// A missing folder is named and lists nothing; only the tile choice has set its folder.
TEST(BmpSets, TheListingFindsFoldersOfAnotherCaseAndNamesAMissingOne) {
  testing::TempFolder data;
  RepackContext repack;
  platform::ScriptedUi ui;
  const auto list = [&](RepackDestination destination) {
    repack.RepackFolder = "earlier/";
    ui.Clear();
    return ListBmpSets(data.Path(), destination, repack, ui);
  };
  for (const auto& [destination, folder] : {std::pair{RepackDestination::Icons, "ICONS"},
                                            std::pair{RepackDestination::Tiles, "TILES"}}) {
    EXPECT_EQ(list(destination), std::nullopt);
    EXPECT_EQ(ui.Messages(),
              Names{"The Folder: \r\n" + data / "TOVRIN_PFP/" + folder + NativePath("/") +
                    "BMPFILES\r\nDoes not exist. No Files ready for conversion."});
    EXPECT_EQ(repack.RepackFolder, destination == RepackDestination::Tiles
                                       ? NativePath("TOVRIN_PFP/TILES/")
                                       : "earlier/");
  }
  std::filesystem::create_directories(data / "tovrin_pfp/icons/bmpfiles");
  std::filesystem::create_directories(data / "tovrin_pfp/tiles/bmpfiles");
  testing::WriteFile(data / "tovrin_pfp/icons/bmpfiles/cursors_00000.bmp", "bmp");
  testing::WriteFile(data / "tovrin_pfp/icons/bmpfiles/notes.txt", "not a BMP");
  const auto icons = list(RepackDestination::Icons);
  ASSERT_TRUE(icons);
  EXPECT_EQ(icons->Rows, Names{"CURSORS     SHP.PFP             1"});
  EXPECT_EQ(icons->Files.Folder, data.Path() + NativePath("TOVRIN_PFP/ICONS/BMPFILES"));
  EXPECT_EQ(icons->Files.Names, Names{"cursors_00000.bmp"});
  EXPECT_EQ(repack.RepackFolder, NativePath("TOVRIN_PFP/ICONS/"));
  const auto tiles = list(RepackDestination::Tiles);
  ASSERT_TRUE(tiles);
  EXPECT_EQ(tiles->Rows, Names{});
  EXPECT_TRUE(ui.Events().empty());
}

}  // namespace
}  // namespace zorvane::graphics
