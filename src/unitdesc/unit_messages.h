#pragma once

#include <cstdint>
#include <string>

// The messages of the two unit-description commands.
namespace zorvane::unitdesc {

inline constexpr char kCannotFindUnitDescriptions[] =
    "Cannot find unitdescriptions in your TXT.PFP file.";
inline constexpr char kCannotFindExtracts[] = "Cannot find the extracts for inserting.";

// TXT.PFP is missing at the extraction.
std::string TextArchiveMissingMessage();

// The extraction succeeded; the paths are those of the two extract files.
std::string ExtractedMessage(const std::string& textPath, const std::string& indexPath);

// A write of the extraction failed; `reason` names the file.
std::string NotExtractedMessage(const std::string& reason);

// The index places the unit-description block outside TXT.PFP.
std::string BlockOutsideMessage(const std::string& indexPath, std::int64_t start,
                                const std::string& textPath, std::uint64_t textLength);

// The chosen folder does not hold both extract files, or they are not usable.
std::string ExtractFilesMissingMessage(const std::string& extractFolder);

// One of the three data files is missing at the insertion.
std::string DataFileMissingMessage(const std::string& dataFolder);

// No member AUDIO, or not where the insertion needs it.
std::string AudioMissingMessage(const std::string& indexPath);
std::string AudioMisplacedMessage(const std::string& indexPath);

// PFPDATA.IDX and EXT.IDX do not describe the same archives, or the archives could not be
// found again in the new index; `detail` says how.
std::string ArchivesDisagreeMessage(const std::string& indexPath, const std::string& archivePath,
                                    const std::string& detail);

// The new index or archive would be over a limit of its format.
std::string TooManyMembersMessage(const std::string& indexPath, std::size_t records);
std::string TextArchiveTooLargeMessage(const std::string& textPath);

// The members before member "0" end outside TXT.PFP.
std::string TextBeforeUnitsOutsideMessage(const std::string& indexPath, std::int64_t end,
                                          const std::string& textPath, std::uint64_t textLength);

// A unit record other than the first of TXT.PFP would begin at byte 0.
std::string UnitAtArchiveStartMessage(const std::string& unitName, const std::string& textPath);

// The lengths of UnitIDX.KRT reach past the text of UnitDescriptions.KRT.
std::string LengthsPastTextMessage(const std::string& indexPath, std::int64_t lengths,
                                   const std::string& textPath, std::uint64_t textBytes);

// A write or rename of the insertion failed and was undone; `reason` names the file.
std::string NotInsertedMessage(const std::string& reason);

// The insertion succeeded.
std::string InsertedMessage(const std::string& extractFolder, const std::string& dataFolder);

}  // namespace zorvane::unitdesc
