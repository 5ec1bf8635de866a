#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "archive/insertion_plan.h"
#include "small_installation.h"

namespace zorvane::archive {
namespace {

namespace fs = std::filesystem;
using platform::ScriptedUi;
using testing::Archive;
using testing::BytesOf;
using testing::Changes;
using testing::DataFile;
using testing::Removed;
using testing::SmallExt;
using testing::SmallIndex;
using testing::SmallIndexBytes;
using testing::SnapshotFolder;
using Kind = decltype(ScriptedUi::Event::Kind);
using Records = std::vector<MemberRecord>;

MemberRecord M(const char* name, std::int32_t length, std::int32_t offset) {
  return testing::Member(name, length, offset);
}

struct PlanCase {
  const char* Label;
  std::size_t Record;
  std::uint64_t ArchiveLength, NewLength;
  std::variant<Records, PlanFault> Planned;  // the new records, or the fault
  Records Before;
};

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
constexpr auto kMismatch = PlanFault::IndexDoesNotMatchArchive;

TEST(PlanInsertion, MovesTheLaterMembersOfTheArchiveOrNamesTheFault) {
  const PlanCase cases[] = {
      // A terminator with an Offset is written with Offset 0.
      {"Terminator", 0, 15, 4, Records{M("A", 4, 0), M("B", 5, 4), M("", 0, 0)},
       Records({M("A", 10, 0), M("B", 5, 10), M("", 0, 15)})},
      {"NegativeLength", 0, 10, 3, kMismatch, Records({M("A", -4, 0), M("B", 6, 4), M("", 0, 0)})},
      {"NextMemberPastTheEnd", 0, 10, 3, kMismatch,
       Records({M("A", 4, 0), M("B", 6, 40), M("", 0, 0)})},
      {"NextMemberOverlaps", 0, 10, 3, kMismatch,
       Records({M("A", 4, 0), M("B", 6, 2), M("", 0, 0)})},
      {"GapBeforeTheNextMember", 0, 12, 3, kMismatch,
       Records({M("A", 4, 0), M("B", 6, 6), M("", 0, 0)})},
      {"GapFurtherOn", 0, 11, 3, kMismatch,
       Records({M("A", 4, 0), M("B", 2, 4), M("C", 3, 8), M("", 0, 0)})},
      {"LaterMemberPastTheEnd", 0, 10, 3, kMismatch,
       Records({M("A", 4, 0), M("B", 2, 4), M("C", 30, 6), M("", 0, 0)})},
      {"TheTerminatorItself", 1, 4, 3, kMismatch, Records({M("A", 4, 0), M("", 0, 0)})},
      {"LargestContent", 0, 4, kLargest, Records{M("A", kLargest, 0), M("", 0, 0)},
       Records({M("A", 4, 0), M("", 0, 0)})},
      {"OffsetOverTheField", 0, std::uint64_t{1} << 31, 100, PlanFault::TooLarge,
       Records({M("A", 4, 0), M("B", kLargest - 10, 4), M("C", 1, kLargest - 6), M("", 0, 0)})}};
  for (const PlanCase& c : cases) {
    const auto plan = PlanInsertion(c.Before, c.Record, c.ArchiveLength, c.NewLength);
    const auto* fault = std::get_if<PlanFault>(&plan);
    EXPECT_TRUE(fault
                    ? c.Planned.index() == 1 && std::get<1>(c.Planned) == *fault
                    : c.Planned.index() == 0 && std::get<0>(c.Planned) == std::get<0>(plan).Records)
        << c.Label;
  }
}

std::string Completed(const std::string& chosen, const std::string& data, const std::string& pfp) {
  return "Insertion of file:\r\n" + chosen + "\r\ninto \r\n" + data + pfp +
         ".PFP\r\nhas completet. Your \r\n" + data +
         "PFPDATA.IDX has been updatet.\r\nA backup of your old files has been placed as \r\n" +
         data + pfp + "_OLD.PFP\r\nand\r\n" + data +
         "PFPDATA_OLD.IDX\r\nTo restore the old files, you just have to delete the new "
         "files\r\nand rename the '*_OLD.*' - removing the '_OLD' from the name.";
}

struct ReplacementCase {
  const char* Label;
  std::string FileName, Content;
  std::string Archive;     // the archive that holds the member
  std::string NewArchive;  // its bytes afterwards
  Changes Records;         // in the new PFPDATA.IDX
};

class Replacement : public testing::SmallInstallation,
                    public ::testing::WithParamInterface<ReplacementCase> {};

// The archive and PFPDATA.IDX are new, the previous ones are the backups, and every other file
// is as it was; the dialog comes first, then the busy pointer while writing, then the message.
TEST_P(Replacement, RewritesTheArchiveAndTheIndexKeepingBackups) {
  const ReplacementCase& c = GetParam();
  const auto before = SnapshotFolder(data.Path());
  ASSERT_EQ(InsertFile(c.FileName, c.Content), InsertionOutcome::Inserted);

  auto expected = before;
  expected[c.Archive + ".PFP"] = BytesOf(c.NewArchive);
  expected[c.Archive + "_OLD.PFP"] = before.at(c.Archive + ".PFP");
  expected["PFPDATA.IDX"] = SmallIndexBytes(c.Records);
  expected["PFPDATA_OLD.IDX"] = before.at("PFPDATA.IDX");
  EXPECT_EQ(SnapshotFolder(data.Path()), expected);
  EXPECT_EQ(testing::ReadFile(data / "PFPDATA.IDX")[0], 0x0A);  // the header, little-endian
  EXPECT_EQ(tables.RewriteTable, testing::SmallIndexRecords(c.Records));
  EXPECT_EQ(ui.Events(),
            (std::vector<ScriptedUi::Event>{
                {Kind::FileDialog, "Select the SHP-file you want to insert."},
                {Kind::Busy, ""},
                {Kind::NotBusy, ""},
                {Kind::Message, Completed(edits / c.FileName, data.Path(), c.Archive)}}));
  EXPECT_EQ(ui.FileRequests().at(0).Filter, "SHP-files for insertions (*.SHP)|*.SHP");
  EXPECT_EQ(ui.FileRequests().at(0).InitialName, "");
}

INSTANTIATE_TEST_SUITE_P(
    Members, Replacement,
    ::testing::Values(
        // O = 0: no leading bytes; every later member of SHP moves.
        ReplacementCase{"FirstMemberOfAnArchive", "MAINMENU.SHP", "NEW-MENU-LONGER", "SHP",
                        "NEW-MENU-LONGERiconsbuttonscurs",
                        Changes({{2, {15, 0}}, {3, {5, 15}}, {4, {7, 20}}, {5, {4, 27}}})},
        // The later members of SHP move by 100, PAL's records stay.
        ReplacementCase{"MiddleMemberLonger", "ICONS.SHP", std::string(105, '+'), "SHP",
                        "mainmenu" + std::string(105, '+') + "buttonscurs",
                        Changes({{3, {105, 8}}, {4, {7, 113}}, {5, {4, 120}}})},
        // BUTTONS of SHP, the first of the two members of that name.
        ReplacementCase{"MiddleMemberShorter", "BUTTONS.SHP", "bt", "SHP", "mainmenuiconsbtcurs",
                        Changes({{4, {2, 13}}, {5, {4, 15}}})},
        // The next record opens PAL and keeps Offset 0; SHP ends with the new content.
        ReplacementCase{"LastMemberOfAnArchive", "CURSORS.SHP", "cursors-new", "SHP",
                        "mainmenuiconsbuttonscursors-new", Changes({{5, {11, 20}}})},
        ReplacementCase{"MemberOfAnotherArchive", "DAY.SHP", "night-palette-bytes", "PAL",
                        "night-palette-bytesbtn", Changes({{6, {19, 0}}, {7, {3, 19}}})},
        ReplacementCase{"LowerCaseFileName", "readme.shp", "READ", "TXT", "READcredits",
                        Changes({{0, {4, 0}}, {1, {7, 4}}})}),
    [](const auto& info) { return std::string(info.param.Label); });

enum class Chosen { File, Missing, Folder, Pipe, Sparse2GiB };

struct RefusalCase {
  const char* Label;
  std::optional<DataFile> Spoilt;
  std::string Message;             // '@' stands for the DATA folder, '%' for the chosen path
  std::string Name = "ICONS.SHP";  // of the chosen file in the edits folder
  bool DialogShown = true;
  Chosen Kind = Chosen::File;
  std::string Content = "new icons";
};

class Refusal : public testing::SmallInstallation,
                public ::testing::WithParamInterface<RefusalCase> {};

// A refused insertion says why and leaves every file of the DATA folder as it was; nothing is
// written, so the busy pointer is never shown.
TEST_P(Refusal, SaysWhyAndChangesNothing) {
  const RefusalCase& c = GetParam();
  if (c.Spoilt) testing::Apply(data.Path(), {*c.Spoilt});
  const std::string chosen = edits / c.Name;
  if (c.Kind == Chosen::File || c.Kind == Chosen::Sparse2GiB) testing::WriteFile(chosen, c.Content);
  if (c.Kind == Chosen::Sparse2GiB) fs::resize_file(chosen, std::uintmax_t{1} << 31);
  if (c.Kind == Chosen::Folder) fs::create_directory(chosen);
#ifdef _WIN32
  if (c.Kind == Chosen::Pipe) GTEST_SKIP() << "Windows makes no named pipes among files";
#else
  if (c.Kind == Chosen::Pipe) ::mkfifo(chosen.c_str(), 0600);
#endif
  const auto before = SnapshotFolder(data.Path());

  EXPECT_EQ(InsertChosen(chosen), InsertionOutcome::Refused);
  std::string message = c.Message;
  for (auto at = message.find_first_of("@%"); at != std::string::npos;
       at = message.find_first_of("@%", at + 1)) {
    message.replace(at, 1, message[at] == '@' ? data.Path() : chosen);
  }
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{message});
  EXPECT_EQ(ui.FileRequests().size(), c.DialogShown ? 1u : 0u);
  EXPECT_EQ(ui.Events().size(), ui.FileRequests().size() + 1);  // no busy pointer
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

std::string Refused(const std::string& reason) {
  return "Cannot insert %: " + reason + ".\r\nNothing has been changed.";
}

const std::string kMissing =
    "I cannot find the files:\r\n@PFPDATA.IDX\r\nand\r\n@EXT.IDX\r\nCheck your foldersettings in "
    "the 'Settings' menu.";
const std::string kNoExtension = Refused("its file name has no extension, so it names no member");

std::string NotFound(const std::string& baseName) {
  return "I couldn't find the file " + baseName +
         ", you have to insert a file that is allready known to PacGen.";
}

std::string Mismatch(int bytes) {
  return Refused("@PFPDATA.IDX does not match @SHP.PFP (" + std::to_string(bytes) +
                 " bytes): it places the member ICONS or the members after it outside the "
                 "archive, out of order or not back to back");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    ::testing::Values(
        RefusalCase{"MissingIndex", Removed("PFPDATA.IDX"), kMissing, "ICONS.SHP", false},
        RefusalCase{"MissingExtIndex", Removed("EXT.IDX"), kMissing, "ICONS.SHP", false},
        RefusalCase{"ExtIndexOverItsLimit", DataFile{"EXT.IDX", testing::Bytes(16 * 257)},
                    "The file @EXT.IDX holds more than 256 records, the most this tool can read. "
                    "Nothing has been read from it.",
                    "ICONS.SHP", false},
        RefusalCase{"IndexNotWhole", DataFile{"PFPDATA.IDX", testing::Bytes(4 + 16 * 9 + 3)},
                    "Cannot insert into the archives: @PFPDATA.IDX does not end on a whole "
                    "record (its length is not 4 bytes plus a multiple of 16).\r\nNothing has "
                    "been changed.",
                    "ICONS.SHP", false},
        // The lock file cannot be made, as where the DATA folder is read-only.
        RefusalCase{"LockFileNotMade", DataFile{".zorvane.lock/", std::nullopt},
                    "The lock file @.zorvane.lock cannot be made: Is a directory.\r\nNothing has "
                    "been changed."},
        RefusalCase{"NoExtension", std::nullopt, kNoExtension, "ICONS"},
        RefusalCase{"BaseNameOverEightCharacters", std::nullopt, NotFound("MAINMENUX"),
                    "MAINMENUX.SHP"},
        RefusalCase{"TerminatorNeverMatched", std::nullopt, NotFound(""), ".SHP"},
        RefusalCase{"MemberNamedInLowerCase", std::nullopt, NotFound("CREDITS"), "credits.shp"},
        RefusalCase{"EmptyFile", std::nullopt, Refused("the file is empty"), "ICONS.SHP", true,
                    Chosen::File, ""},
        RefusalCase{"ChosenFileMissing", std::nullopt,
                    Refused("cannot read %: No such file or directory"), "ICONS.SHP", true,
                    Chosen::Missing},
        RefusalCase{"ChosenFileIsAFolder", std::nullopt, Refused("cannot read %: Is a directory"),
                    "ICONS.SHP", true, Chosen::Folder},
        RefusalCase{"ChosenFileIsANamedPipe", std::nullopt,
                    Refused("cannot read %: Not a regular file"), "ICONS.SHP", true, Chosen::Pipe},
        RefusalCase{"FileTooLargeForTheIndex", std::nullopt,
                    Refused("the new @SHP.PFP would be too large for the offsets of @PFPDATA.IDX"),
                    "ICONS.SHP", true, Chosen::Sparse2GiB},
        RefusalCase{"ArchiveMissing", Removed("SHP.PFP"),
                    Refused("the archive @SHP.PFP does not exist")},
        RefusalCase{"ArchiveShorterThanTheMember", testing::Written("SHP.PFP", "mainmenuicon"),
                    Mismatch(12)},
        RefusalCase{"NegativeOffset", SmallIndex({{3, {5, -8}}}), Mismatch(24)},
        RefusalCase{"LaterMemberOutOfOrder", SmallIndex({{5, {4, 9}}}), Mismatch(24)},
        RefusalCase{"ArchiveNotInExtIndex",
                    DataFile{"EXT.IDX", SerialiseArchiveIndex(std::vector{Archive("TXT", 0, 2),
                                                                          Archive("SHP", 2, 6)})},
                    Refused("@EXT.IDX names no archive for the member DAY"), "DAY.SHP"},
        RefusalCase{"IndexStartingInsideAnArchive", SmallIndex({{0, {10, 5}}}),
                    Refused("@EXT.IDX names no archive for the member README"), "README.SHP"},
        RefusalCase{"ArchiveNameLeavingTheFolder", SmallExt(1, Archive("../SHP", 2, 6)),
                    Refused("the archive name '../SHP' in @EXT.IDX is not a file name")},
        RefusalCase{"BackupWouldReplaceAnotherArchive", SmallExt(3, Archive("shp_old", 8, 8)),
                    Refused("its backup @SHP_OLD.PFP would take the place of the archive "
                            "shp_old, which @EXT.IDX lists")}),
    [](const auto& info) { return std::string(info.param.Label); });

using Insertion = testing::SmallInstallation;

// Files are found without regard to case and keep their spelling; the messages name them as
// the program forms their paths. A second insertion replaces the backups of the first. The
// tables are left as the last insertion loaded them, past EXT.IDX's records untouched, and the
// names it passed normalised.
TEST_F(Insertion, ACancelledDialogThenTwoInsertions) {
  tables.LastRow = 2;
  tables.ArchiveTable.assign(6, Archive("STALE", 1));
  // Through a third name: where names match without regard to case, a rename to another
  // spelling of the same name may leave the name as it was.
  for (const auto& [from, to] : {std::pair{"SHP.PFP", "shp.pfp"}, {"PFPDATA.IDX", "pfpdata.idx"}}) {
    fs::rename(data / from, data / "respelled");
    fs::rename(data / "respelled", data / to);
  }
  testing::WriteFile(data / "Shp_Old.Pfp", "older archive");
  const auto before = SnapshotFolder(data.Path());
  EXPECT_EQ(InsertShpFile(data.Path(), tables, ui), InsertionOutcome::Cancelled);
  EXPECT_EQ(ui.FileRequests().size(), 1u);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(SnapshotFolder(data.Path()), before);

  ASSERT_EQ(InsertFile("ICONS.SHP", "ic"), InsertionOutcome::Inserted);
  ASSERT_EQ(InsertFile("CURSORS.SHP", "cursor"), InsertionOutcome::Inserted);
  auto expected = before;
  expected["shp.pfp"] = BytesOf("mainmenuicbuttonscursor");
  expected["Shp_Old.Pfp"] = BytesOf("mainmenuicbuttonscurs");
  expected["pfpdata.idx"] = SmallIndexBytes({{3, {2, 8}}, {4, {7, 10}}, {5, {6, 17}}});
  expected["PFPDATA_OLD.IDX"] = SmallIndexBytes({{3, {2, 8}}, {4, {7, 10}}, {5, {4, 17}}});
  EXPECT_EQ(SnapshotFolder(data.Path()), expected);
  EXPECT_EQ(ui.Messages(), (std::vector{Completed(edits / "ICONS.SHP", data.Path(), "SHP"),
                                        Completed(edits / "CURSORS.SHP", data.Path(), "SHP")}));
  EXPECT_EQ(tables.LastRow, 8);
  EXPECT_EQ(tables.ArchiveLast, 3);
  EXPECT_EQ(tables.IndexHeader, testing::kSmallIndexHeader);
  EXPECT_EQ(NameBytes(tables.ArchiveTable[1].Name), "SHP     ");
  EXPECT_EQ(tables.ArchiveTable[4], Archive("STALE", 1));
  EXPECT_EQ(tables.MemberTable[5], testing::Member("CURSORS", 4, 17, ' '));
  EXPECT_EQ(NameBytes(tables.MemberTable[6].Name), std::string_view("DAY\0\0\0\0\0", 8));
}

}  // namespace
}  // namespace zorvane::archive
