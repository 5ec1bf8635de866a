// Unit descriptions carried out of small hand-made installations and into them, line by line.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <utility>

#include "archive/index_files.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"
#include "unitdesc/text_line_copy.h"
#include "unitdesc/unit_extraction.h"
#include "unitdesc/unit_insertion.h"

namespace zorvane::unitdesc {
namespace {

using testing::Archive;
using testing::Member;
using testing::SnapshotFolder;
namespace fs = std::filesystem;
using Records = std::vector<archive::MemberRecord>;
using Messages = std::vector<std::string>;
using Units = std::vector<std::pair<std::string, std::int32_t>>;  // names and lengths

struct TinyMember {
  std::string Name, Content;
  char Pad = '\0';
};
using TinyArchives = std::vector<std::pair<std::string, std::vector<TinyMember>>>;
using Edit = void (*)(TinyArchives&);

// TXT (INTRO, units "0" and "1"), SND (AUDIO, BEEP), SHP (MAIN) with `change` made to them,
// PFPDATA.IDX (header 77) and EXT.IDX (EndMember chained, the end record holding four spaces).
void WriteInstallation(const std::string& data, Edit change = nullptr) {
  TinyArchives archives{
      {"TXT",
       {{"INTRO", "Hello\r\nWorld\r\n"}, {"0", "Unit zero\r\n"}, {"1", "Unit one\r\nline2\r\n"}}},
      {"SND", {{"AUDIO", std::string(100, 'a'), ' '}, {"BEEP", std::string(50, 'b')}}},
      {"SHP", {{"MAIN", std::string(300, 'm')}}}};
  if (change) change(archives);
  Records members;
  std::vector<archive::ArchiveRecord> records;
  for (const auto& [name, archiveMembers] : archives) {
    const auto first = static_cast<std::int32_t>(members.size());
    if (!records.empty()) records.back().EndMember = first;
    records.push_back(Archive(name, first));
    std::string content;
    for (const TinyMember& member : archiveMembers) {
      members.push_back(Member(member.Name, static_cast<std::int32_t>(member.Content.size()),
                               static_cast<std::int32_t>(content.size()), member.Pad));
      content += member.Content;
    }
    testing::WriteFile(data + name + ".PFP", content);
  }
  records.back().EndMember = static_cast<std::int32_t>(members.size());
  members.push_back(Member("", 0, 0));
  records.push_back(Archive("", 0x20202020, 0x20202020));
  testing::WriteMemberIndex(data + "PFPDATA.IDX", 77, members);
  testing::WriteArchiveIndex(data + "EXT.IDX", records);
}

// The tiny PFPDATA.IDX (header 5) with other numbers for INTRO and BEEP.
void WriteMemberIndex(const std::string& data, std::int32_t introLength, std::int32_t introOffset,
                      std::int32_t beep) {
  testing::WriteMemberIndex(data + "PFPDATA.IDX", 5,
                            {Member("INTRO", introLength, introOffset), Member("0", 11, 14),
                             Member("1", 17, 25), Member("AUDIO", 100, 0), Member("BEEP", 50, beep),
                             Member("MAIN", 300, 0), Member("", 0, 0)});
}

void CutTheLastRecord(const std::string& path) {
  auto bytes = testing::ReadFile(path);
  bytes.resize(bytes.size() - 16);
  testing::WriteFile(path, bytes);
}

// A record with its name padded with spaces, as the tool writes them.
archive::MemberRecord Padded(const std::string& name, std::int32_t length, std::int32_t offset) {
  return Member(name, length, offset, ' ');
}

// Records back to back without header, as UnitIDX.KRT holds them.
testing::Bytes RecordBytes(const Records& records) {
  testing::Bytes bytes;
  for (const auto& record : records) archive::AppendRecord(bytes, record);
  return bytes;
}

// UnitDescriptions.KRT with `text`, UnitIDX.KRT with one record per unit, offsets following.
void WriteExtract(const std::string& folder, std::string_view text, const Units& units) {
  testing::WriteFile(folder + "UnitDescriptions.KRT", text);
  Records records;
  std::int64_t offset = 0;
  for (const auto& [name, length] : units) {
    records.push_back(Padded(name, length, static_cast<std::int32_t>(offset)));
    offset += length;
  }
  testing::WriteFile(folder + "UnitIDX.KRT", RecordBytes(records));
}

// The tiny installation in `data`, a folder for extracts, and the two commands.
class UnitDescTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteInstallation(data.Path()); }

  bool Extract() { return ExtractUnitDescriptions(data.Path(), ui); }
  bool Insert(const std::string& chosen) {
    ui.QueueFileChoice(Expand(chosen));
    return InsertUnitDescriptions(data.Path(), extracts, ui, [this] { ++reloads; });
  }
  // `text` with the folders for {D} (DATA) and {E} (extract), the refusal's last line for {N}.
  std::string Expand(const std::string& text) const {
    std::string expanded = testing::NativePath(text);
    for (const auto& [mark, by] : {std::pair{"{N}", "\r\nNothing has been changed."},
                                   {"{D}", data.Path().c_str()},
                                   {"{E}", extract.Path().c_str()}}) {
      for (auto at = expanded.find(mark); at != std::string::npos; at = expanded.find(mark, at))
        expanded.replace(at, 3, by);
    }
    return expanded;
  }

  testing::TempFolder data, extract;
  platform::ScriptedUi ui;
  UnitExtracts extracts;
  int reloads = 0;
};

// An installation and the extracts it gives, or the message of a refusal that writes nothing.
struct ExtractionCase {
  std::string Case;
  Edit Change;
  void (*Prepare)(const std::string& data);
  std::string Text;
  Records Index;
  std::string Refused;  // {D}: the DATA folder
};

void Extracted(std::vector<ExtractionCase>& rows, std::string name, Edit change, std::string text,
               Records index, void (*prepare)(const std::string&) = nullptr,
               std::string refused = "") {
  rows.push_back({name, change, prepare, text, index, refused});
}

constexpr char kExtracted[] =
    "Your Unitdescriptions has been extracted to\r\n\r\n{D}EXTRACTS/UnitDescriptions.KRT\r\n\r\nan "
    "indexfile for this extract has been created as\r\n\r\n{D}EXTRACTS/UnitIDX.KRT\r\n\r\nThese "
    "two files is needed for this program to be able\r\nto insert your unitdescriptions in "
    "other PacGen installations.";

class Extraction : public UnitDescTest, public ::testing::WithParamInterface<ExtractionCase> {};

TEST_P(Extraction, WritesTheBlockFromMemberZeroAndItsRecordsOrNothing) {
  WriteInstallation(data.Path(), GetParam().Change);
  if (GetParam().Prepare) GetParam().Prepare(data.Path());
  // Earlier extracts of more units, in a folder named in another case, are replaced whole.
  fs::create_directory(data / "extracts");
  testing::WriteFile(data / "extracts/UnitDescriptions.KRT", "AAA\r\nBBBB\r\nCCCCC\r\n");
  testing::WriteFile(data / "extracts/UnitIDX.KRT", std::string(48, 'U'));
  const auto before = SnapshotFolder(data.Path());
  EXPECT_EQ(Extract(), GetParam().Refused.empty());
  if (!GetParam().Refused.empty()) {
    EXPECT_EQ(ui.Messages(), Messages{Expand(GetParam().Refused)});
    EXPECT_EQ(SnapshotFolder(data.Path()), before);
    return;
  }
  EXPECT_EQ(testing::ReadText(data / "extracts/UnitDescriptions.KRT"), GetParam().Text);
  EXPECT_EQ(testing::ReadFile(data / "extracts/UnitIDX.KRT"), RecordBytes(GetParam().Index));
  using Event = platform::ScriptedUi::Event;
  EXPECT_EQ(ui.Events(), (std::vector<Event>{{Event::Kind::Busy, ""},
                                             {Event::Kind::NotBusy, ""},
                                             {Event::Kind::Message, Expand(kExtracted)}}));
  EXPECT_EQ(SnapshotFolder(data / "extracts").size(), 2u);
  if (testing::kNamesDifferingInCaseOnly) {
    EXPECT_FALSE(fs::exists(data / "EXTRACTS"));
  }
}

constexpr char kTwoUnits[] = "Unit zero\r\nUnit one\r\nline2\r\n";

std::vector<ExtractionCase> Extractions() {
  const Records twoUnits{Padded("0", 11, 0), Padded("1", 17, 11)};
  std::vector<ExtractionCase> rows;
  Extracted(rows, "Tiny", nullptr, kTwoUnits, twoUnits);
  Extracted(rows, "ZeroAfterSpaces", [](auto& a) { a[0].second[1].Name = "  0"; }, kTwoUnits,
            {Padded("  0", 11, 0), Padded("1", 17, 11)});
  Extracted(
      rows, "ZeroFirstInTheArchive", [](auto& a) { a[0].second.erase(a[0].second.begin()); },
      kTwoUnits, twoUnits);
  Extracted(rows, "ZeroLastInTheFirstArchive",
            [](auto& a) {
              a[0].second[2] = std::exchange(a[0].second[1], {"2", "Two\r\n"});
            },
            "Unit zero\r\n", {Padded("0", 11, 0)});
  // A line ends at CR LF or a lone CR, a lone LF stays, the last line gets its end.
  Extracted(rows, "LineEnds", [](auto& a) { a[0].second[2].Content = "a\nb\rc\r\nlast line"; },
            "Unit zero\r\na\nb\r\nc\r\nlast line\r\n", {Padded("0", 11, 0), Padded("1", 16, 11)});
  Extracted(rows, "BlockStartsAtTheEndOfTheArchive", nullptr, "", twoUnits,
            [](auto d) { testing::WriteFile(d + "TXT.PFP", "Hello\r\nWorld\r\n"); });
  Extracted(
      rows, "NoTextArchive", nullptr, "", {}, [](auto d) { fs::remove(d + "TXT.PFP"); },
      "I have not been able to find your TXT.PFP file.\r\nThis file is needed for "
      "extracting the unitdescriptions.\r\nYou MUST have all the files from your PacGen "
      "DATA folder in the folder pointed to by the setup Folders Menu.");
  Extracted(
      rows, "NoMemberIndex", nullptr, "", {}, [](auto d) { fs::remove(d + "PFPDATA.IDX"); },
      "Cannot locate {D}PFPDATA.IDX - you'll have to set up the folders again.");
  Extracted(
      rows, "ZeroOnlyInAnotherArchive",
      [](auto& a) {
        a[0].second[1].Name = "00";
        a[2].second.push_back({"0", "sprite"});
      },
      "", {}, nullptr, "Cannot find unitdescriptions in your TXT.PFP file.");
  Extracted(
      rows, "BlockPastTheEnd", nullptr, "", {},
      [](auto d) { testing::WriteFile(d + "TXT.PFP", "Hello\r\n"); },
      "Cannot find unitdescriptions in your TXT.PFP file.\r\n{D}PFPDATA.IDX places them at "
      "byte 14, outside {D}TXT.PFP (7 bytes).");
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Installations, Extraction, ::testing::ValuesIn(Extractions()),
                         [](const auto& info) { return info.param.Case; });

// INTRO (unless `intro` is false), the units, then the rest of the tiny index, names padded.
Records Index(Records units, bool intro = true) {
  if (intro) units.insert(units.begin(), Padded("INTRO", 14, 0));
  units.insert(units.end(), {Padded("AUDIO", 100, 0), Padded("BEEP", 50, 100),
                             Padded("MAIN", 300, 0), Padded("", 0, 0)});
  return units;
}

using Setup = void (*)(const std::string& data, const std::string& extract);

// An installation and an extract, and what the insertion makes of them: the new TXT.PFP,
// PFPDATA.IDX (header 0) and EXT.IDX, or the messages of a refusal that changes no file.
struct InsertionCase {
  std::string Case, Text;  // the text of the extract
  Units ExtractUnits;
  Edit Change;
  Setup Prepare;
  Messages Refused;
  std::string TextArchive;
  Records Members;
  std::int32_t Snd;  // the first record of SND.PFP in the new EXT.IDX
};

const Units kThreeUnits{{"0", 5}, {"1", 6}, {"2", 7}};  // AAA, BBBB and CCCCC, its line open

void Inserted(std::vector<InsertionCase>& rows, std::string name, std::string text, Units units,
              std::string textArchive, Records members, std::int32_t snd, Edit change = nullptr,
              Setup prepare = nullptr) {
  rows.push_back({name, text, units, change, prepare, {}, textArchive, members, snd});
}

void Refused(std::vector<InsertionCase>& rows, std::string name, Messages messages,
             Edit change = nullptr, Setup prepare = nullptr, Units units = kThreeUnits) {
  rows.push_back({name, "AAA\r\nBBBB\r\nCCCCC", units, change, prepare, messages, "", {}, 0});
}

constexpr char kInserted[] =
    "Unitdescriptions inserted.\r\nThe files used for insertion is:\r\n{E}UnitDescriptions.KRT\r\n"
    "{E}UnitIDX.KRT\r\nFiles Affected is:\r\n{D}TXT.PFP\r\n{D}PFPDATA.IDX\r\n{D}EXT.IDX\r\nYour "
    "previous files has been renamed:\r\n{D}OLD_TXT.PFP\r\n{D}OLD_PFPDATA.IDX\r\n{D}OLD_EXT.IDX"
    "\r\nTo restore your old files, just delete the new ones and rename the OLD_*.* files";

class Insertion : public UnitDescTest, public ::testing::WithParamInterface<InsertionCase> {};

TEST_P(Insertion, RewritesTheThreeFilesOrRefusesAndChangesNothing) {
  const InsertionCase& row = GetParam();
  WriteExtract(extract.Path(), row.Text, row.ExtractUnits);
  WriteInstallation(data.Path(), row.Change);
  if (row.Prepare) row.Prepare(data.Path(), extract.Path());
  for (const std::string name : {"TXT.PFP", "PFPDATA.IDX", "EXT.IDX"}) {  // earlier backups
    testing::WriteFile(data / ("OLD_" + name), "earlier " + name);
  }
  auto before = SnapshotFolder(data.Path());
  const std::string folder = row.Case == "CancelledDialog" ? "" : "{E}";  // cancelled: no folder
  EXPECT_EQ(Insert(folder + "UnitDescriptions.KRT"), row.Refused.empty());
  const auto& dialog = ui.FileRequests().at(0);  // title, filter, initial file name
  EXPECT_EQ(dialog.Title + "|" + dialog.Filter + "|" + dialog.InitialName,
            "Show me Folder where you have placed the Extracts of the unitdescriptions|PacGen "
            "Extractfiles (*.KRT)|*.KRT|UnitDescriptions.KRT");
  Messages refused;
  for (const std::string& message : row.Refused) refused.push_back(Expand(message));
  if (!refused.empty()) {
    EXPECT_EQ(ui.Messages(), refused);
    EXPECT_EQ(SnapshotFolder(data.Path()), before);
    EXPECT_EQ(extracts.Loaded, refused.size() == 1);  // unusable extracts get two messages
    return;
  }
  EXPECT_EQ(ui.Messages(), Messages{Expand(kInserted)});
  EXPECT_EQ(reloads, 1);
  auto after = SnapshotFolder(data.Path());
  EXPECT_EQ(testing::ReadText(data / "TXT.PFP"), row.TextArchive);
  EXPECT_EQ(after.at("PFPDATA.IDX"), archive::SerialiseMemberIndex(0, row.Members));
  const std::int32_t snd = row.Snd;
  EXPECT_EQ(after.at("EXT.IDX"),
            archive::SerialiseArchiveIndex(std::vector<archive::ArchiveRecord>{
                Archive("TXT", 0, snd, ' '), Archive("SND", snd, snd + 2, ' '),
                Archive("SHP", snd + 2, snd + 3, ' '), Archive("", 0x20202020, 0x20202020, ' ')}));
  for (const std::string name : {"TXT.PFP", "PFPDATA.IDX", "EXT.IDX"}) {
    EXPECT_EQ(after.at("OLD_" + name), before.at(name));
  }
  for (const std::string name : {"SND.PFP", "SHP.PFP"}) EXPECT_EQ(after.at(name), before.at(name));
  EXPECT_EQ(after.size(), before.size());  // no file left behind
}

const Messages kUnusable{
    "cannot find all needed Extractfiles in folder:{E}\r\nMake sure that you have a folder with "
    "both the *.KRT files and point to that.",
    "Cannot find the extracts for inserting."};
const Messages kMissingFile{"Cannot find {D}PFPDATA.IDX or {D}EXT.IDX or {D}TXT.PFP"};
const Messages kNoUnits{"Cannot find unitdescriptions in your TXT.PFP file."};
const std::string kDisagree = "The archives in {D}PFPDATA.IDX and {D}EXT.IDX do not agree:\r\n";

std::vector<InsertionCase> Insertions() {
  std::vector<InsertionCase> rows;
  Inserted(rows, "MoreUnits", "AAA\r\nBBBB\r\nCCCCC", kThreeUnits,
           "Hello\r\nWorld\r\nAAA\r\nBBBB\r\nCCCCC\r\n",
           Index({Padded("0", 5, 14), Padded("1", 6, 19), Padded("2", 7, 25)}), 4);
  // Only the members before "0" are read from TXT.PFP.
  Inserted(rows, "FewerUnits", "Only one\r\n", {{"0", 10}}, "Hello\r\nWorld\r\nOnly one\r\n",
           Index({Padded("0", 10, 14)}), 2, nullptr,
           [](auto d, auto) { testing::WriteFile(d + "TXT.PFP", "Hello\r\nWorld\r\n"); });
  Inserted(rows, "EmptyText", "", {{"0", 0}}, "Hello\r\nWorld\r\n", Index({Padded("0", 0, 14)}), 2);
  Inserted(rows, "ZeroFirstInTheArchive", "Only one\r\n", {{"0", 10}}, "Only one\r\n",
           Index({Padded("0", 10, 0)}, false), 1,
           [](auto& a) { a[0].second.erase(a[0].second.begin()); });
  Inserted(rows, "TheTextBeforeTheUnitsIsKeptByteForByte", "Only one\r\n", {{"0", 10}},
           "Hello\rWor\nld\r\nOnly one\r\n", Index({Padded("0", 10, 14)}), 2,
           [](auto& a) { a[0].second[0].Content = "Hello\rWor\nld\r\n"; });
  const std::string nul(1, '\0');
  Inserted(rows, "NamesOfTheExtractLoseTheirNuls", "AAA\r\nBBBB\r\n",
           {{"0" + nul, 5}, {nul + "12", 6}}, "Hello\r\nWorld\r\nAAA\r\nBBBB\r\n",
           Index({Padded("0", 5, 14), Padded("12", 6, 19)}), 3);
  // Members of the other archives keep their offsets, even with bytes between them.
  Inserted(rows, "MembersOfOtherArchivesKeepTheirOffsets", "Only one\r\n", {{"0", 10}},
           "Hello\r\nWorld\r\nOnly one\r\n",
           {Padded("INTRO", 14, 0), Padded("0", 10, 14), Padded("AUDIO", 100, 0),
            Padded("BEEP", 50, 120), Padded("MAIN", 300, 0), Padded("", 0, 0)},
           2, nullptr, [](auto d, auto) { WriteMemberIndex(d, 14, 0, 120); });
  Refused(rows, "NoIndex", kUnusable, nullptr, [](auto, auto e) { fs::remove(e + "UnitIDX.KRT"); });
  Refused(rows, "NoText", kUnusable, nullptr,
          [](auto, auto e) { fs::remove(e + "UnitDescriptions.KRT"); });
  Refused(rows, "EmptyIndex", kUnusable, nullptr, nullptr, {});
  Refused(rows, "PartOfARecord", kUnusable, nullptr,
          [](auto, auto e) { testing::WriteFile(e + "UnitIDX.KRT", "0       AAAABBBBx"); });
  Refused(rows, "NegativeLength", kUnusable, nullptr, nullptr, {{"0", 5}, {"1", -1}});
  Refused(rows, "MoreRecordsThanAnExtractMayHold", kUnusable, nullptr, nullptr,
          Units(32768, {"U", 0}));
  Refused(rows, "CancelledDialog",
          {"cannot find all needed Extractfiles in folder:/\r\nMake sure that you have a folder "
           "with both the *.KRT files and point to that.",
           kUnusable[1]});
  Refused(rows, "NoPfpdataIdx", kMissingFile, nullptr,
          [](auto d, auto) { fs::remove(d + "PFPDATA.IDX"); });
  Refused(rows, "NoMemberZero", kNoUnits, [](auto& a) { a[0].second[1].Name = "00"; });
  Refused(rows, "MemberZeroOnlyInAnotherArchive", kNoUnits, [](auto& a) {
    a[0].second[1].Name = "Z";
    a[2].second.push_back({"0", "zero"});
  });
  Refused(rows, "NoAudio",
          {"Cannot find the member AUDIO in {D}PFPDATA.IDX. The unitdescriptions end where it "
           "begins.{N}"},
          [](auto& a) { a[1].second[0].Name = "SOUND"; });
  Refused(rows, "AudioNotFirstOfTheSecondArchive",
          {"The member AUDIO in {D}PFPDATA.IDX is not the first member of the second archive, "
           "where the unitdescriptions end.{N}"},
          [](auto& a) { std::swap(a[1].second[0], a[1].second[1]); });
  Refused(rows, "FirstRecordOpensNoArchive",
          {kDisagree + "The first record of PFPDATA.IDX does not open an archive: its offset is "
                       "not 0.{N}"},
          nullptr, [](auto d, auto) { WriteMemberIndex(d, 14, 3, 100); });
  Refused(rows, "ExtIdxWithoutItsEndRecord",
          {kDisagree + "PFPDATA.IDX holds 4 groups of members (the terminator included), EXT.IDX "
                       "3 archive records.{N}"},
          nullptr, [](auto d, auto) { CutTheLastRecord(d + "EXT.IDX"); });
  Refused(
      rows, "PfpdataIdxWithoutTerminator",
      {kDisagree + "The last record of PFPDATA.IDX is not the terminator that follows the "
                   "last archive (a record with offset 0).{N}"},
      [](auto& a) {
        a[2].second.push_back({"ICONS", "icons"});
      },
      [](auto d, auto) { CutTheLastRecord(d + "PFPDATA.IDX"); });
  Refused(rows, "AUnitNamedAsTheFirstMemberOfAnArchive",
          {kDisagree + "After the insertion the archive SND.PFP could not be found again by the "
                       "name of its first member, 'AUDIO': a member before it has that name.{N}"},
          nullptr, nullptr, {{"0", 5}, {"AUDIO", 6}});
  // The largest offset and the most records allowed: only the text is too short.
  Units largest(32762, {"U", 0});
  largest[0] = {"0", 2147483633};
  Refused(rows, "LengthsPastTheText",
          {"The lengths in {E}UnitIDX.KRT add up to 2147483633 bytes, more than the 18 bytes of "
           "text in {E}UnitDescriptions.KRT.{N}"},
          nullptr, nullptr, largest);
  Refused(rows, "MembersBeforeZeroPastTheEndOfTxtPfp",
          {"{D}PFPDATA.IDX places the members before the unitdescriptions up to byte 14, outside "
           "{D}TXT.PFP (10 bytes).{N}"},
          nullptr, [](auto d, auto) { testing::WriteFile(d + "TXT.PFP", "Hello\r\nWor"); });
  // INTRO is empty, and the units follow a gap nobody indexes.
  Refused(rows, "AUnitAtByteZero",
          {"The unitdescription '0' would begin at byte 0 of {D}TXT.PFP, where PFPDATA.IDX can "
           "only hold the first member of an archive.{N}"},
          nullptr, [](auto d, auto) { WriteMemberIndex(d, 0, 0, 100); });
  Refused(rows, "MoreRecordsThanTheIndexMayHold",
          {"With these unitdescriptions {D}PFPDATA.IDX would hold 32772 records, more than "
           "32767.{N}"},
          nullptr, nullptr, Units(32767, {"U", 1}));
  Refused(rows, "OffsetsPastTheLargestNumber",
          {"With these unitdescriptions {D}TXT.PFP would be larger than 2147483647 bytes.{N}"},
          nullptr, nullptr, {{"0", 2147483647}, {"1", 1}});
  Refused(rows, "AnArchiveNamedAsTheBackup",
          {"The unitdescriptions have not been inserted:\r\nits backup {D}OLD_TXT.PFP would take "
           "the place of the archive Old_Txt, which {D}EXT.IDX lists.\r\nYour TXT.PFP, "
           "PFPDATA.IDX and EXT.IDX are as they were."},
          [](auto& a) { a[2].first = "Old_Txt"; });
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Extracts, Insertion, ::testing::ValuesIn(Insertions()),
                         [](const auto& info) { return info.param.Case; });

// Runs out of memory just before the files are written, when the busy pointer is set.
struct OutOfMemoryUi : platform::ScriptedUi {
  void SetBusy(bool busy) override {
    if (busy) throw std::bad_alloc();
  }
};

TEST_F(UnitDescTest, RunningOutOfMemoryIsReportedAndChangesNothing) {
  ASSERT_TRUE(Extract());
  const auto before = SnapshotFolder(data.Path());
  OutOfMemoryUi failing;
  failing.QueueFileChoice(data / "EXTRACTS/UnitDescriptions.KRT");
  EXPECT_FALSE(InsertUnitDescriptions(data.Path(), extracts, failing, {}));
  EXPECT_FALSE(ExtractUnitDescriptions(data.Path(), failing));
  EXPECT_EQ(failing.Messages(),
            (Messages{"The unitdescriptions have not been inserted:\r\nThere is not enough memory."
                      "\r\nYour TXT.PFP, PFPDATA.IDX and EXT.IDX are as they were.",
                      "The unitdescriptions have not been extracted:\r\nThere is not enough memory."
                      "\r\nEarlier extracts, if any, are as they were."}));
  EXPECT_EQ(SnapshotFolder(data.Path()), before);
}

// A line ends at CR LF or a lone CR and is followed by CR LF; a lone LF stays inside its line.
TEST(LineEndNormaliser, FollowsEachLineByCrLf) {
  const char* const texts[] = {"",         "",          "a",        "a\r\n",      "a\r\n",
                               "a\r\n",    "a\r",       "a\r\n",    "a\rb",       "a\r\nb\r\n",
                               "a\nb",     "a\nb\r\n",  "a\n",      "a\n\r\n",    "\r\n\r\n",
                               "\r\n\r\n", "\r\r\n",    "\r\n\r\n", "a\n\rb\r\n", "a\n\r\nb\r\n",
                               "x\r\ny",   "x\r\ny\r\n"};  // each text, then its lines
  for (std::size_t i = 0; i < std::size(texts); i += 2) {
    EXPECT_EQ(NormaliseLineEnds(texts[i]), texts[i + 1]) << i;
    std::string out;  // fed a byte at a time
    LineEndNormaliser normaliser;
    for (const char* c = texts[i]; *c != '\0'; ++c) normaliser.Feed(std::string_view(c, 1), out);
    normaliser.Finish(out);
    EXPECT_EQ(out, texts[i + 1]) << i;
  }
}

}  // namespace
}  // namespace zorvane::unitdesc
