#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "archive/index_files.h"
#include "archive/sprite_insertion.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"

// A small installation made by hand: three archives and the terminator, every member made of
// its own readable bytes.
//
//   TXT.PFP  README "readme1234" @0, credits (lower case) "credits" @10
//   SHP.PFP  MAINMENU "mainmenu" @0, ICONS (padded with spaces) "icons" @8,
//            BUTTONS "buttons" @13, CURSORS "curs" @20
//   PAL.PFP  DAY "day-palette." @0, BUTTONS "btn" @12 (a second member of that name)
//
// EXT.IDX pads PAL with spaces; its terminator record holds spaces only.
namespace zorvane::testing {

inline constexpr std::int32_t kSmallIndexHeader = 0x0D0C0B0A;

// Record number -> its new {Length, Offset}.
using Changes = std::map<std::size_t, std::pair<std::int32_t, std::int32_t>>;

// The records of its PFPDATA.IDX (terminator included) with `changes`, and their file bytes.
inline std::vector<archive::MemberRecord> SmallIndexRecords(const Changes& changes = {}) {
  std::vector<archive::MemberRecord> records{
      Member("README", 10, 0),    Member("credits", 7, 10), Member("MAINMENU", 8, 0),
      Member("ICONS", 5, 8, ' '), Member("BUTTONS", 7, 13), Member("CURSORS", 4, 20),
      Member("DAY", 12, 0),       Member("BUTTONS", 3, 12), Member("", 0, 0)};
  for (const auto& [record, change] : changes) {
    records.at(record).Length = change.first;
    records.at(record).Offset = change.second;
  }
  return records;
}

inline Bytes SmallIndexBytes(const Changes& changes = {}) {
  return archive::SerialiseMemberIndex(kSmallIndexHeader, SmallIndexRecords(changes));
}

inline std::vector<archive::ArchiveRecord> SmallArchiveRecords() {
  return {Archive("TXT", 0, 2), Archive("SHP", 2, 6), Archive("PAL", 6, 8, ' '),
          Archive("", 0x20202020, 0x20202020, ' ')};
}

// A file of a DATA folder written with `Content`, or removed when there is none; a name ending
// in '/' is made a folder.
struct DataFile {
  std::string Name;
  std::optional<Bytes> Content;
};

inline DataFile Written(const std::string& name, std::string_view text) {
  return {name, BytesOf(text)};
}

inline DataFile Removed(const std::string& name) {
  return {name, std::nullopt};
}

inline DataFile SmallIndex(const Changes& changes) {
  return {"PFPDATA.IDX", SmallIndexBytes(changes)};
}

// EXT.IDX with record k replaced.
inline DataFile SmallExt(std::size_t k, const archive::ArchiveRecord& record) {
  auto archives = SmallArchiveRecords();
  archives.at(k) = record;
  return {"EXT.IDX", archive::SerialiseArchiveIndex(archives)};
}

inline void Apply(const std::string& dataFolder, const std::vector<DataFile>& files) {
  for (const DataFile& file : files) {
    if (file.Name.ends_with('/')) {
      std::filesystem::create_directory(dataFolder + file.Name);
    } else if (file.Content) {
      WriteFile(dataFolder + file.Name, *file.Content);
    } else {
      std::filesystem::remove(dataFolder + file.Name);
    }
  }
}

inline void WriteSmallInstallation(const std::string& dataFolder) {
  Apply(dataFolder,
        {Written("TXT.PFP", "readme1234credits"), Written("SHP.PFP", "mainmenuiconsbuttonscurs"),
         Written("PAL.PFP", "day-palette.btn"), SmallIndex({})});
  WriteArchiveIndex(dataFolder + "EXT.IDX", SmallArchiveRecords());
}

// The small installation in a DATA folder, and a folder of edited files beside it.
class SmallInstallation : public ::testing::Test {
 protected:
  void SetUp() override { WriteSmallInstallation(data.Path()); }
  // Inserts `content` written as the file `name` of the edits folder, or whatever `path` is.
  archive::InsertionOutcome InsertFile(const std::string& name, std::string_view content) {
    WriteFile(edits / name, content);
    return InsertChosen(edits / name);
  }
  archive::InsertionOutcome InsertChosen(const std::string& path) {
    ui.QueueFileChoice(path);
    return archive::InsertShpFile(data.Path(), tables, ui);
  }

  TempFolder data, edits;
  archive::IndexTables tables;
  platform::ScriptedUi ui;
};

}  // namespace zorvane::testing
