#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/member_extraction.h"
#include "platform/fault_injection.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A DATA folder with small archives of known bytes: SHP.PFP of 100 bytes 0..99, PAL.PFP of
// 1500 bytes (byte i is i mod 251).
class ExtractMemberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bytes shp(100);
    for (std::size_t i = 0; i < shp.size(); ++i) shp[i] = static_cast<std::uint8_t>(i);
    testing::WriteFile(data / "SHP.PFP", shp);
    Bytes pal(1500);
    for (std::size_t i = 0; i < pal.size(); ++i) pal[i] = static_cast<std::uint8_t>(i % 251);
    testing::WriteFile(data / "PAL.PFP", pal);
    std::filesystem::create_directory(data / "TOVRIN_PFP");
  }

  void Extract(const MemberToExtract& member) {
    ExtractMember({data.Path(), program.Path()}, member, {context, palettes, picture}, ui);
  }

  testing::TempFolder data;
  testing::TempFolder program;
  ExtractionContext context;
  PaletteState palettes;
  PictureState picture;
  platform::ScriptedUi ui;
};

struct RefusedMember {
  const char* Case;
  MemberToExtract Member;
  std::string Message;
};

class RefusedMemberTest : public ExtractMemberTest,
                          public ::testing::WithParamInterface<RefusedMember> {};

TEST_P(RefusedMemberTest, IsNamedInAMessageAndChangesNothing) {
  const auto dataBefore = testing::SnapshotFolder(data.Path());
  const auto programBefore = testing::SnapshotFolder(program.Path());
  Extract(GetParam().Member);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), dataBefore);
  EXPECT_EQ(testing::SnapshotFolder(program.Path()), programBefore);
  std::string message = GetParam().Message;
  for (std::size_t at; (at = message.find("DATA/")) != std::string::npos;) {
    message.replace(at, 5, data.Path());
  }
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{message});
  EXPECT_FALSE(context.Completed);
  EXPECT_FALSE(ui.Busy());
}

std::string Unsafe(const std::string& name) {
  return "The member name '" + name +
         "' cannot be used as a file name, because it is empty or names a folder. Nothing has "
         "been extracted.";
}

std::string Outside(const std::string& name, const std::string& archive, std::int64_t length,
                    std::int64_t offset, int archiveLength) {
  return "The file: " + name + " cannot be extracted: its " + std::to_string(length) +
         " bytes at offset " + std::to_string(offset) + " do not lie in DATA/" + archive +
         ", which holds " + std::to_string(archiveLength) +
         " bytes.\r\nThe index of your game does not match its archive.";
}

INSTANTIATE_TEST_SUITE_P(
    Members, RefusedMemberTest,
    ::testing::Values(
        RefusedMember{"ParentFolder", {MemberArchive::Shp, "..", 0, 10}, Unsafe("..")},
        RefusedMember{"ThisFolder", {MemberArchive::Shp, ".", 0, 10}, Unsafe(".")},
        RefusedMember{"Empty", {MemberArchive::Shp, "", 0, 10}, Unsafe("")},
        RefusedMember{"Slash", {MemberArchive::Shp, "A/B", 0, 10}, Unsafe("A/B")},
        RefusedMember{"Backslash", {MemberArchive::Shp, "..\\EVIL", 0, 10}, Unsafe("..\\EVIL")},
        RefusedMember{"DriveColon", {MemberArchive::Shp, "C:X", 0, 10}, Unsafe("C:X")},
        RefusedMember{"PaletteName", {MemberArchive::Pal, "../DAY", 0, 1024}, Unsafe("../DAY")},
        RefusedMember{"PastTheEnd",
                      {MemberArchive::Shp, "ICONS", 90, 11},
                      Outside("ICONS", "SHP.PFP", 11, 90, 100)},
        RefusedMember{"NegativeOffset",
                      {MemberArchive::Shp, "ICONS", -1, 5},
                      Outside("ICONS", "SHP.PFP", 5, -1, 100)},
        RefusedMember{"NegativeLength",
                      {MemberArchive::Shp, "ICONS", 5, -5},
                      Outside("ICONS", "SHP.PFP", -5, 5, 100)},
        RefusedMember{"HugeLength",
                      {MemberArchive::Shp, "ICONS", 50, 2147483647},
                      Outside("ICONS", "SHP.PFP", 2147483647, 50, 100)},
        RefusedMember{"PaletteAtTheEnd",
                      {MemberArchive::Pal, "DAY", 1500, 1024},
                      Outside("DAY", "PAL.PFP", 1024, 1500, 1500)},
        RefusedMember{"PaletteBeforeTheStart",
                      {MemberArchive::Pal, "DAY", -4, 1024},
                      Outside("DAY", "PAL.PFP", 1024, -4, 1500)},
        RefusedMember{"MissingArchive",
                      {MemberArchive::Til, "T_FRT_DD", 0, 10},
                      "I cannot find the file: DATA/TIL.PFP\r\nThis file MUST be in the DATA "
                      "folder of your game. Check your settings for this program."}),
    [](const auto& info) { return std::string(info.param.Case); });

TEST_F(ExtractMemberTest, AMemberAtTheVeryEndIsCopiedWhole) {
  Extract({MemberArchive::Shp, "TAIL", 60, 40});
  Bytes expected(40);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::uint8_t>(60 + i);
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/TAIL.SHP"), expected);
}

TEST_F(ExtractMemberTest, AnEmptyMemberGivesAnEmptySpriteFileThatIsRefused) {
  Extract({MemberArchive::Shp, "EMPTY", 100, 0});
  EXPECT_EQ(testing::ReadFile(data / "TOVRIN_PFP/ICONS/EMPTY.SHP"), Bytes{});
  EXPECT_TRUE(std::filesystem::is_empty(data / "TOVRIN_PFP/ICONS/BMPFILES"));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{
                               "The file: EMPTY.SHP is not a valid SHP-file. No BMP-file made."});
  EXPECT_FALSE(context.Completed);
}

TEST_F(ExtractMemberTest, APaletteRunningPastTheArchiveEndGetsZeros) {
  Extract({MemberArchive::Pal, "TURN01U", 1000, 24});
  const Bytes rgb = testing::ReadFile(program / "TURN01U.RGB");
  ASSERT_EQ(rgb.size(), 1024u);
  for (std::size_t i = 0; i < 1024; ++i) {
    ASSERT_EQ(rgb[i], i < 500 ? static_cast<std::uint8_t>((1000 + i) % 251) : 0) << i;
  }
  EXPECT_TRUE(context.Completed);
}

TEST_F(ExtractMemberTest, AFailedCopyLeavesNoSpriteFile) {
  testing::WriteFile(data / "TOVRIN_PFP/old.txt", "keep");
  platform::FaultInjection::Reset();
  // Write 1 is the journal's.
  platform::FaultInjection::FailAt(platform::FileOperation::Write, 2, "Read-only file system");
  Extract({MemberArchive::Shp, "ICONS", 10, 20});
  platform::FaultInjection::Reset();
  auto files = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(files,
            (std::map<std::string, Bytes>{{"PAL.PFP", testing::ReadFile(data / "PAL.PFP")},
                                          {"SHP.PFP", testing::ReadFile(data / "SHP.PFP")},
                                          {"TOVRIN_PFP", {}},
                                          {"TOVRIN_PFP/ICONS", {}},
                                          {"TOVRIN_PFP/ICONS/BMPFILES", {}},
                                          {"TOVRIN_PFP/old.txt", testing::BytesOf("keep")}}));
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"The file " + data.Path() +
                                                    "TOVRIN_PFP/ICONS/ICONS.SHP cannot be "
                                                    "written: Read-only file system."});
}

TEST_F(ExtractMemberTest, AFolderThatCannotBeMadeIsNamed) {
  testing::WriteFile(data / "TOVRIN_PFP/ICONS", "a file in the way");
  Extract({MemberArchive::Shp, "ICONS", 10, 20});
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0],
            "The folder " + data.Path() + "TOVRIN_PFP/ICONS/ cannot be created: File exists.");
}

TEST(SafeMemberFileName, AcceptsNamesThatStayInTheirFolder) {
  for (const char* name : {"DAY", "T_FRT_DD", "...", "A.B", "x y"}) {
    EXPECT_TRUE(IsSafeMemberFileName(name)) << name;
  }
}

}  // namespace
}  // namespace zorvane::graphics
