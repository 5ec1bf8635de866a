#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "archive/index_record.h"

// UnitIDX.KRT: one 16-byte record per unit-description member, no header. A record has the
// layout of a PFPDATA.IDX record (name padded with spaces, length, offset), its offset counted
// from the start of the unit-description block, so the first record holds 0.
namespace zorvane::unitdesc {

using UnitRecord = archive::MemberRecord;

// The two extract files and the folder below the DATA folder that the extraction writes them to.
inline constexpr char kUnitTextFileName[] = "UnitDescriptions.KRT";
inline constexpr char kUnitIndexFileName[] = "UnitIDX.KRT";
inline constexpr char kExtractFolderName[] = "EXTRACTS";
// The archive that holds the unit descriptions.
inline constexpr char kTextArchiveName[] = "TXT.PFP";

// The most unit records an extract may hold (the limit of PFPDATA.IDX).
inline constexpr std::size_t kUnitRecordCapacity = 32767;

std::vector<std::uint8_t> SerialiseUnitIndex(std::span<const UnitRecord> records);

// The records of a usable UnitIDX.KRT, or nothing when the bytes cannot describe unit
// descriptions: no record at all, a length that is not a whole number of records, more records
// than kUnitRecordCapacity, or a negative length (the offsets of later members would go back).
std::optional<std::vector<UnitRecord>> ParseUnitIndex(std::span<const std::uint8_t> bytes);

}  // namespace zorvane::unitdesc
