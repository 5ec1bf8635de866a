#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "archive/index_record.h"
#include "support/files.h"

// A small installation made by hand for the insertion tests: three archives and the
// terminator, every member made of its own readable bytes.
//
//   TXT.PFP  README "readme1234" @0, credits (lower case) "credits" @10
//   SHP.PFP  MAINMENU "mainmenu" @0, ICONS (padded with spaces) "icons" @8,
//            BUTTONS "buttons" @13, CURSORS "curs" @20
//   PAL.PFP  DAY "day-palette." @0, BUTTONS "btn" @12 (a second member of that name)
namespace zorvane::testing {

inline constexpr std::int32_t kSmallIndexHeader = 0x0D0C0B0A;

// The records of its PFPDATA.IDX, terminator included.
std::vector<archive::MemberRecord> SmallIndexRecords();
std::vector<archive::ArchiveRecord> SmallArchiveRecords();

// Writes EXT.IDX, PFPDATA.IDX, TXT.PFP, SHP.PFP and PAL.PFP into `dataFolder`.
void WriteSmallInstallation(const std::string& dataFolder);

// The records with some of them changed: record number -> {Length, Offset}.
std::vector<archive::MemberRecord> WithRecords(
    std::vector<archive::MemberRecord> records,
    const std::map<std::size_t, std::pair<std::int32_t, std::int32_t>>& changes);

// The bytes of a PFPDATA.IDX with the header of the small installation.
Bytes SmallIndexBytes(const std::vector<archive::MemberRecord>& records);

}  // namespace zorvane::testing
