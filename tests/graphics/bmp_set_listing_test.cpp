#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/bmp_set_listing.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Rows = std::vector<std::string>;

struct SetNameCase {
  const char* FileName;
  std::optional<std::string> Expected;
};

class SetName : public ::testing::TestWithParam<SetNameCase> {};

TEST_P(SetName, IsTheNameBeforeTheNumber) {
  EXPECT_EQ(SetNameOf(GetParam().FileName), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, SetName,
                         ::testing::Values(SetNameCase{"NAME_00003.BMP", "NAME"},
                                           SetNameCase{"name_00000.bmp", "NAME"},
                                           SetNameCase{"UnitIcon_00047.Bmp", "UNITICON"},
                                           SetNameCase{"X_00000.BMP", "X"},
                                           SetNameCase{"T_CLR_DD_01999.BMP", "T_CLR_DD"},
                                           SetNameCase{"LONGERNAME_00000.BMP", "LONGERNAME"},
                                           // Seven characters before the dot: the rule leaves one.
                                           SetNameCase{"ABCDEFG.BMP", "A"},
                                           SetNameCase{"A.BMP", std::nullopt},
                                           SetNameCase{"_00000.BMP", std::nullopt},
                                           SetNameCase{"AB.CD_00000.BMP", std::nullopt},
                                           SetNameCase{"ABCDEF.BMP", std::nullopt}));

std::vector<std::string> Numbered(const std::string& set, int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%05d", i);
    names.push_back(set + "_" + number + ".BMP");
  }
  return names;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct RowsCase {
  const char* Name;
  std::vector<std::string> Files;  // in the order of the folder listing
  RepackDestination Destination;
  Rows Expected;
};

class SetRows : public ::testing::TestWithParam<RowsCase> {};

TEST_P(SetRows, OneRowForEachRunOfASet) {
  const Rows rows = BmpSetRows(GetParam().Files, GetParam().Destination);
  EXPECT_EQ(rows, GetParam().Expected);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 33u) << row;
}

INSTANTIATE_TEST_SUITE_P(
    Listings, SetRows,
    ::testing::Values(
        RowsCase{"TwelveAndOne",
                 Join({Numbered("NAME", 12), Numbered("OTHER", 1)}),
                 RepackDestination::Icons,
                 {"NAME        SHP.PFP            12", "OTHER       SHP.PFP             1"}},
        RowsCase{"CountsAlignRight",
                 Join({Numbered("A_1", 123), Numbered("B_22", 7)}),
                 RepackDestination::Tiles,
                 {"A_1         TIL.PFP           123", "B_22        TIL.PFP             7"}},
        RowsCase{"LowerCaseNamesAreListedInUpperCase",
                 {"name_00000.bmp", "Name_00001.BMP"},
                 RepackDestination::Icons,
                 {"NAME        SHP.PFP             2"}},
        RowsCase{"FilesWithoutASetArePassedOver",
                 {"A.BMP", "NAME_00000.BMP", "NAME.BMP", "NAME_00001.BMP", "_00000.BMP"},
                 RepackDestination::Icons,
                 {"NAME        SHP.PFP             2"}},
        RowsCase{"NamesLongerThanEightAreMarked",
                 Join({Numbered("UNITICONS", 2), Numbered("UNITICON", 3)}),
                 RepackDestination::Icons,
                 {"UNITICON~   SHP.PFP             2", "UNITICON    SHP.PFP             3"}},
        // Only neighbours are counted together, as the sorted listing gives them.
        RowsCase{"ASetSplitByAnotherGivesTwoRows",
                 {"A_00000.BMP", "A_0_00000.BMP", "A_ZZZZZ.BMP"},
                 RepackDestination::Icons,
                 {"A           SHP.PFP             1", "A_0         SHP.PFP             1",
                  "A           SHP.PFP             1"}},
        RowsCase{"NoFiles", {}, RepackDestination::Tiles, {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SetRows, TheNameColumnGivesTheSetBack) {
  EXPECT_EQ(SetNameOfRow(BmpSetRow("TURN03_U", RepackDestination::Icons, 4)), "TURN03_U");
  EXPECT_EQ(SetNameOfRow(BmpSetRow("X", RepackDestination::Tiles, 999999)), "X");
  EXPECT_EQ(SetNameOfRow(BmpSetRow("LONGERNAME", RepackDestination::Icons, 1)), "LONGERNA~");
  EXPECT_EQ(SetNameOfRow("  TURN03_U  "), "TURN03_U");
  EXPECT_EQ(SetNameOfRow("AB"), "AB");
}

class SetListing : public ::testing::Test {
 protected:
  bool List(RepackDestination destination) {
    return ListBmpSets(data.Path(), destination, repack, {rows, file1}, ui);
  }

  testing::TempFolder data;
  RepackContext repack;
  Rows rows{"an earlier row"};
  platform::FileListBox file1;
  platform::ScriptedUi ui;
};

TEST_F(SetListing, FoldersOfAnotherCaseAreListed) {
  std::filesystem::create_directories(data / "tovrin_pfp/icons/bmpfiles");
  testing::WriteFile(data / "tovrin_pfp/icons/bmpfiles/cursors_00000.bmp", "bmp");
  ASSERT_TRUE(List(RepackDestination::Icons));
  EXPECT_EQ(rows, Rows{"CURSORS     SHP.PFP             1"});
}

TEST_F(SetListing, AnEmptyFolderGivesAnEmptyListWithoutAMessage) {
  std::filesystem::create_directories(data / "TOVRIN_PFP/ICONS/BMPFILES");
  ASSERT_TRUE(List(RepackDestination::Icons));
  EXPECT_EQ(rows, Rows{});
  EXPECT_TRUE(ui.Events().empty());
}

struct MissingCase {
  RepackDestination Destination;
  const char* Folder;
  const char* RepackFolderAfter;
};

class MissingBmpFolder : public SetListing, public ::testing::WithParamInterface<MissingCase> {};

// The list and the file list stay as they were; only the tile choice has set its folder.
TEST_P(MissingBmpFolder, IsNamedAndChangesNoList) {
  repack.RepackFolder = "earlier/";
  file1.Path = "earlier folder";
  file1.Names = {"EARLIER.BMP"};
  EXPECT_FALSE(List(GetParam().Destination));
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"The Folder: \r\n" + data.Path() + GetParam().Folder +
                                     "\r\nDoes not exist. No Files ready for "
                                     "conversion."});
  EXPECT_EQ(rows, Rows{"an earlier row"});
  EXPECT_EQ(file1.Path, "earlier folder");
  EXPECT_EQ(file1.Names, std::vector<std::string>{"EARLIER.BMP"});
  EXPECT_EQ(repack.RepackFolder, GetParam().RepackFolderAfter);
}

INSTANTIATE_TEST_SUITE_P(Choices, MissingBmpFolder,
                         ::testing::Values(MissingCase{RepackDestination::Icons,
                                                       "TOVRIN_PFP/ICONS/BMPFILES", "earlier/"},
                                           MissingCase{RepackDestination::Tiles,
                                                       "TOVRIN_PFP/TILES/BMPFILES",
                                                       "TOVRIN_PFP/TILES/"}));

}  // namespace
}  // namespace zorvane::graphics
