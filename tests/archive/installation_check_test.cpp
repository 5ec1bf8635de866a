#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "archive/installation_check.h"
#include "small_installation.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"

namespace zorvane::archive {
namespace {

using testing::Archive;
using testing::Member;
using testing::WriteFile;

// A damage done to the small installation and every line the check must give for it; '@'
// stands for the DATA folder.
struct Damage {
  const char* Name;
  std::function<void(const std::string& data)> Apply;
  std::vector<std::string> Expected;
};

void WriteRecords(const std::string& data, const std::vector<MemberRecord>& records) {
  WriteFile(data + "PFPDATA.IDX", testing::SmallIndexBytes(records));
}

const Damage kDamages[] = {
    {"Clean", [](const std::string&) {}, {}},
    {"UnfinishedChangeAndIndexesMissing",
     [](const std::string& d) {
       WriteFile(d + ".zorvane-journal", "x");
       std::filesystem::remove(d + "PFPDATA.IDX");
       std::filesystem::remove(d + "EXT.IDX");
     },
     {"An interrupted change of @ has not been finished or undone (the hidden file "
      ".zorvane-journal is there).",
      "The index file @PFPDATA.IDX does not exist.", "The index file @EXT.IDX does not exist."}},
    {"IndexesCutAndNoTerminator",
     [](const std::string& d) {
       auto records = testing::SmallIndexRecords();
       records.pop_back();
       auto index = testing::SmallIndexBytes(records);
       index.resize(index.size() + 3, 'x');
       WriteFile(d + "PFPDATA.IDX", index);
       WriteFile(d + "EXT.IDX", testing::ReadText(d + "EXT.IDX") + "!");
     },
     {"The index file @PFPDATA.IDX does not end on a whole record: it has 135 bytes, which is "
      "not 4 plus a multiple of 16.",
      "The index file @EXT.IDX does not end on a whole record: it has 65 bytes, which is not a "
      "multiple of 16.",
      "The last record of @PFPDATA.IDX, BUTTONS, is not the terminator: its Offset is 12, not 0."}},
    {"ArchiveIndexWithoutTerminatorWrongFirstMemberAndBadName",
     [](const std::string& d) {
       auto archives = testing::SmallArchiveRecords();
       archives.pop_back();
       archives.at(1).FirstMember = 3;
       archives.at(2) = Archive("../PAL", 6);
       testing::WriteArchiveIndex(d + "EXT.IDX", archives);
     },
     {"The index files do not describe the same archives: @EXT.IDX has 3 records, but "
      "@PFPDATA.IDX has 3 archive groups, which need 4 (one more for the terminator).",
      "In @EXT.IDX, record 1 (SHP) has FirstMember 3, but its group in PFPDATA.IDX starts at "
      "record 2.",
      "In @EXT.IDX, the name '../PAL' of record 2 is not the name of a file."}},
    // An empty last member, and an archive found under another case, are fine.
    {"ArchiveMissing",
     [](const std::string& d) {
       std::filesystem::remove(d + "PAL.PFP");
       WriteRecords(d, testing::WithRecords(testing::SmallIndexRecords(), {{5, {0, 20}}}));
       std::filesystem::remove(d + "SHP.PFP");
       WriteFile(d + "shp.pfp", "mainmenuiconsbuttons");
     },
     {"The archive @PAL.PFP does not exist."}},
    {"MembersOutOfPlace",
     [](const std::string& d) {
       WriteRecords(
           d, testing::WithRecords(testing::SmallIndexRecords(), {{1, {-7, 10}}, {3, {5, 9}}}));
       WriteFile(d + "SHP.PFP", "mainmenuiconsbuttonscu");
       WriteFile(d + "PAL.PFP", "day-palette.btnX");
     },
     {"In @TXT.PFP, the member credits (record 1 of PFPDATA.IDX) has a negative length, -7.",
      "In @SHP.PFP, the member ICONS (record 3 of PFPDATA.IDX) starts at byte 9 instead of 8, "
      "right after the member before it.",
      "In @SHP.PFP, the member BUTTONS (record 4 of PFPDATA.IDX) starts at byte 13 instead of 14, "
      "right after the member before it.",
      "In @SHP.PFP, the member CURSORS (record 5 of PFPDATA.IDX) at byte 20 with length 4 goes "
      "past the end of the archive (22 bytes).",
      "@PAL.PFP has 1 byte after its last member BUTTONS (record 7 of PFPDATA.IDX)."}},
};

class InstallationCheck : public ::testing::TestWithParam<Damage> {};

TEST_P(InstallationCheck, NamesEveryProblem) {
  testing::TempFolder data;
  testing::WriteSmallInstallation(data.Path());
  GetParam().Apply(data.Path());
  std::vector<std::string> expected = GetParam().Expected;
  for (std::string& line : expected) {
    for (auto at = line.find('@'); at != std::string::npos; at = line.find('@', at))
      line.replace(at, 1, data.Path());
  }
  EXPECT_EQ(CheckInstallation(data.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(Damages, InstallationCheck, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.Name); });

// One archive of 35 one-byte members, each but the first a byte later than it should be.
TEST(InstallationCheckLimit, ShowsThirtyProblemsOfAnArchiveThenCountsTheRest) {
  testing::TempFolder data;
  std::vector<MemberRecord> records;
  for (int r = 0; r < 35; ++r) records.push_back(Member("M" + std::to_string(r), 1, 2 * r));
  records.push_back(Member("", 0, 0));
  WriteRecords(data.Path(), records);
  testing::WriteArchiveIndex(data / "EXT.IDX", {Archive("BIG", 0), Archive("", 35)});
  WriteFile(data / "BIG.PFP", std::string(69, 'b'));
  const auto problems = CheckInstallation(data.Path());
  ASSERT_EQ(problems.size(), 31u);
  EXPECT_EQ(problems[1], "In " + data.Path() +
                             "BIG.PFP, the member M2 (record 2 of PFPDATA.IDX) starts at byte 4 "
                             "instead of 3, right after the member before it.");
  EXPECT_EQ(problems.back(), "... and 4 more problems in " + data.Path() + "BIG.PFP.");
}

}  // namespace
}  // namespace zorvane::archive
