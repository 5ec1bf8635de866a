#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "graphics/palette_export.h"
#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "platform/text_lines.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A palette member whose entry i is Blue i, Green 255 - i, Red (7 * i) mod 256 and Spare
// 100 + i; entry 213 is Blue 10, Green 20, Red 30 with Spare 44.
Bytes MemberBytes() {
  Bytes bytes;
  for (int i = 0; i < 256; ++i) {
    if (i == 213) {
      bytes.insert(bytes.end(), {10, 20, 30, 44});
    } else {
      bytes.insert(bytes.end(),
                   {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                    static_cast<std::uint8_t>(7 * i), static_cast<std::uint8_t>(100 + i)});
    }
  }
  return bytes;
}

class PaletteExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context.ExtractFolder = data / "PALETTES/";
    std::filesystem::create_directory(context.ExtractFolder);
    dataLock.emplace(
        platform::FolderLock::Take(data.Path(), platform::LockMode::Exclusive).Value());
  }

  bool Export(const std::string& name) {
    context.MemberName = name;
    palettes.PaletteRaw = ParsePalette(MemberBytes());
    return ExportPalette(*dataLock, program.Path(), context, palettes, ui);
  }

  testing::TempFolder data;
  testing::TempFolder program;
  std::optional<platform::FolderLock> dataLock;
  ExtractionContext context;
  PaletteState palettes;
  platform::ScriptedUi ui;
};

struct ExportCase {
  const char* Name;
  PaletteId Table;
  bool PinkInFiles;  // only the member named exactly DAY
  bool PinkInTable;  // every member that refreshes the DAY table
};

class PaletteExport : public PaletteExportTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(PaletteExport, WritesThePspLinesOfEveryEntry) {
  const ExportCase& c = GetParam();
  ASSERT_TRUE(Export(c.Name));
  const std::string text =
      testing::ReadText(context.ExtractFolder + c.Name + "-palette for PSP.PAL");
  const auto lines = platform::SplitTextLines(text);
  ASSERT_EQ(lines.size(), 259u);
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_EQ(lines[0], "JASC-PAL");
  EXPECT_EQ(lines[1], "0100");
  EXPECT_EQ(lines[2], "256");
  const Bytes member = MemberBytes();
  for (int i = 0; i < 256; ++i) {
    const std::string expected = i == 213 && c.PinkInFiles
                                     ? "255 225 225"
                                     : std::to_string(member[4 * i + 2]) + " " +
                                           std::to_string(member[4 * i + 1]) + " " +
                                           std::to_string(member[4 * i]);
    ASSERT_EQ(lines[3 + i], expected) << "entry " << i;
  }
  // Line 217 (counted from 1) is entry 213.
  EXPECT_EQ(lines[216], c.PinkInFiles ? "255 225 225" : "30 20 10");
}

TEST_P(PaletteExport, WritesThePhotoshopTableOfEveryEntry) {
  const ExportCase& c = GetParam();
  ASSERT_TRUE(Export(c.Name));
  const Bytes act =
      testing::ReadFile(context.ExtractFolder + c.Name + "-palette for Photoshop.ACT");
  ASSERT_EQ(act.size(), 768u);
  const Bytes member = MemberBytes();
  for (int i = 0; i < 256; ++i) {
    if (i == 213) continue;
    ASSERT_EQ(Bytes(act.begin() + 3 * i, act.begin() + 3 * i + 3),
              (Bytes{member[4 * i + 2], member[4 * i + 1], member[4 * i]}))
        << i;
  }
  EXPECT_EQ(Bytes(act.begin() + 639, act.begin() + 642),
            c.PinkInFiles ? (Bytes{255, 225, 225}) : (Bytes{30, 20, 10}));
}

TEST_P(PaletteExport, KeepsTheMemberUnchangedInTheInternalFile) {
  const ExportCase& c = GetParam();
  ASSERT_TRUE(Export(c.Name));
  const Bytes rgb = testing::ReadFile(program.Path() + c.Name + ".RGB");
  EXPECT_EQ(rgb, MemberBytes());
  EXPECT_EQ(Bytes(rgb.begin() + 852, rgb.begin() + 856), (Bytes{10, 20, 30, 44}));
}

TEST_P(PaletteExport, RefreshesTheTableOfItsNameAndSaysWhere) {
  const ExportCase& c = GetParam();
  ASSERT_TRUE(Export(c.Name));
  const Bytes member = MemberBytes();
  for (std::size_t p = 0; p < kPaletteCount; ++p) {
    const Palette& table = palettes.PaletteTables[p];
    if (static_cast<PaletteId>(p) != c.Table) {
      EXPECT_EQ(table, Palette{}) << "table " << p << " changed";
      continue;
    }
    for (std::size_t i = 0; i < 256; ++i) {
      const PaletteEntry expected =
          i == 213 && c.PinkInTable
              ? PaletteEntry{225, 225, 255, 0}
              : PaletteEntry{member[4 * i], member[4 * i + 1], member[4 * i + 2], 0};
      ASSERT_EQ(table[i], expected) << i;
    }
  }
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{std::string(c.Name) +
                                     "-palettes for Adobe Photoshop and PaintShopPro has been "
                                     "created in \r\n" +
                                     context.ExtractFolder});
}

INSTANTIATE_TEST_SUITE_P(
    Members, PaletteExport,
    ::testing::Values(ExportCase{"DAY", PaletteId::Day, true, true},
                      ExportCase{"MAIN", PaletteId::Main, false, false},
                      ExportCase{"TURN03J", PaletteId::Turn03J, false, false},
                      ExportCase{"menu2", PaletteId::Menu2, false, false},
                      // The files name the transparent colour only for the exact name DAY.
                      ExportCase{"day", PaletteId::Day, false, true},
                      ExportCase{"NIGHT", PaletteId::Day, false, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(PaletteExportTest, AnEntryIsWrittenRedGreenBlue) {
  context.MemberName = "MAIN";
  palettes.PaletteRaw[7] = {0, 5, 255, 0};
  ASSERT_TRUE(ExportPalette(*dataLock, program.Path(), context, palettes, ui));
  const auto lines = platform::SplitTextLines(
      testing::ReadText(context.ExtractFolder + "MAIN-palette for PSP.PAL"));
  ASSERT_EQ(lines.size(), 259u);
  EXPECT_EQ(lines[10], "255 5 0");
  EXPECT_EQ(lines[11], "0 0 0");
}

TEST_F(PaletteExportTest, AFailedWriteReplacesNoFileAndKeepsTheTable) {
  testing::WriteFile(context.ExtractFolder + "DAY-palette for PSP.PAL", "old PSP");
  testing::WriteFile(program.Path() + "DAY.RGB", "old RGB");
  const auto dataBefore = testing::SnapshotFolder(data.Path());
  const auto programBefore = testing::SnapshotFolder(program.Path());
  platform::FaultInjection::Reset();
  // Writes 1 and 4 are the journal's, 2 and 3 the PSP and ACT files', 5 the internal palette's.
  platform::FaultInjection::FailAt(platform::FileOperation::Write, 5, "Disk full");
  EXPECT_FALSE(Export("DAY"));
  platform::FaultInjection::Reset();
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), dataBefore);
  EXPECT_EQ(testing::SnapshotFolder(program.Path()), programBefore);
  EXPECT_EQ(palettes.Table(PaletteId::Day), Palette{});
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"The file " + program.Path() +
                                                    "DAY.RGB cannot be written: Disk full."});
}

// The internal palette files: entry i of palette p is (p, i, 2 * i, Spare 77).
class CheckPalettesTest : public ::testing::Test {
 protected:
  static Bytes PaletteFile(std::size_t p) {
    Bytes bytes;
    for (int i = 0; i < 256; ++i) {
      bytes.insert(bytes.end(), {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(i),
                                 static_cast<std::uint8_t>(2 * i), 77});
    }
    return bytes;
  }

  void WriteAll() {
    for (std::size_t p = 0; p < kPaletteCount; ++p) {
      testing::WriteFile(program.Path() + std::string(kPaletteNames[p]) + ".RGB", PaletteFile(p));
    }
  }

  testing::TempFolder program;
  PaletteState palettes;
  platform::ScriptedUi ui;
};

const char* const kMissingMessage =
    "The program need to generate internal palettes from your PacGen installation,\r\n"
    "to be able to work correct with icons and Tiles.\r\n"
    "To make these palettes, click the 'Toggle Details' button,\r\n"
    "Click the 'PAL.PFP' option and doubleclick each of the palettefiles in the list.\r\n"
    "Doing this you will get palettes for Photoshop and PaintShopPro generated, and this message "
    "will no longer appear.";

TEST_F(CheckPalettesTest, LoadsTheColoursOfAll15AndLeavesTheSpareBytes) {
  WriteAll();
  for (auto& table : palettes.PaletteTables) table[3].Spare = 9;
  ASSERT_TRUE(CheckPalettes(program.Path(), palettes, ui));
  EXPECT_TRUE(ui.Events().empty());
  for (std::size_t p = 0; p < kPaletteCount; ++p) {
    for (std::size_t i = 0; i < 256; ++i) {
      const std::uint8_t spare = i == 3 ? 9 : 0;
      ASSERT_EQ(palettes.PaletteTables[p][i],
                (PaletteEntry{static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(i),
                              static_cast<std::uint8_t>(2 * i), spare}))
          << p << ":" << i;
    }
  }
  // Entry 213 of DAY is taken as stored, without the pink.
  EXPECT_EQ(palettes.Table(PaletteId::Day)[213], (PaletteEntry{0, 213, 170, 0}));
}

class OnePaletteMissing : public CheckPalettesTest,
                          public ::testing::WithParamInterface<std::size_t> {};

TEST_P(OnePaletteMissing, ShowsTheFiveLinesAndLoadsNothing) {
  WriteAll();
  std::filesystem::remove(program.Path() + std::string(kPaletteNames[GetParam()]) + ".RGB");
  EXPECT_FALSE(CheckPalettes(program.Path(), palettes, ui));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{kMissingMessage});
  for (const Palette& table : palettes.PaletteTables) EXPECT_EQ(table, Palette{});
}

INSTANTIATE_TEST_SUITE_P(EachPalette, OnePaletteMissing, ::testing::Values(0, 1, 7, 14));

TEST_F(CheckPalettesTest, AShortFileIsNamedAndNothingIsLoaded) {
  WriteAll();
  testing::WriteFile(program.Path() + "TURN02J.RGB", Bytes(1000, 1));
  EXPECT_FALSE(CheckPalettes(program.Path(), palettes, ui));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot read " + program.Path() +
                                                    "TURN02J.RGB: it holds 1000 bytes instead of "
                                                    "1024\r\n" +
                                                    kMissingMessage});
  for (const Palette& table : palettes.PaletteTables) EXPECT_EQ(table, Palette{});
}

TEST_F(CheckPalettesTest, FileNamesMatchWithoutRegardToCase) {
  WriteAll();
  std::filesystem::rename(program.Path() + "MENU2.RGB", program.Path() + "menu2.rgb");
  EXPECT_TRUE(CheckPalettes(program.Path(), palettes, ui));
  EXPECT_EQ(palettes.Table(PaletteId::Menu2)[1], (PaletteEntry{2, 1, 2, 0}));
}

class BmpPaletteChoice : public ::testing::TestWithParam<PaletteId> {};

TEST_P(BmpPaletteChoice, CopiesTheTableWithSpareZeroAndPinkOnlyForDay) {
  PaletteState palettes;
  for (std::size_t p = 0; p < kPaletteCount; ++p) {
    for (std::size_t i = 0; i < 256; ++i) {
      palettes.PaletteTables[p][i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(p), 1,
                                      50};
    }
  }
  const PaletteId id = GetParam();
  const bool day = id == PaletteId::Day;
  palettes.UseTransparency = !day;
  Palette bmpPalette;
  SetBmpPalette(palettes, PaletteName(id), bmpPalette);
  for (std::size_t i = 0; i < 256; ++i) {
    const PaletteEntry expected =
        day && i == 213
            ? PaletteEntry{225, 225, 255, 0}
            : PaletteEntry{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(id), 1, 0};
    ASSERT_EQ(bmpPalette[i], expected) << i;
  }
  EXPECT_EQ(palettes.UseTransparency, day);
}

INSTANTIATE_TEST_SUITE_P(All15, BmpPaletteChoice,
                         ::testing::Values(PaletteId::Day, PaletteId::Main, PaletteId::Menu2,
                                           PaletteId::Turn01U, PaletteId::Turn02U,
                                           PaletteId::Turn03U, PaletteId::Turn04U,
                                           PaletteId::Turn05U, PaletteId::Turn06U,
                                           PaletteId::Turn01J, PaletteId::Turn02J,
                                           PaletteId::Turn03J, PaletteId::Turn04J,
                                           PaletteId::Turn05J, PaletteId::Turn06J));

}  // namespace
}  // namespace zorvane::graphics
