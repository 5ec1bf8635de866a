#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/insertion_plan.h"

// What the Insert SHP file command shows and says.
namespace zorvane::archive {

inline constexpr char kInsertDialogTitle[] = "Select the SHP-file you want to insert.";
inline constexpr char kInsertDialogFilter[] = "SHP-files for insertions (*.SHP)|*.SHP";
inline constexpr char kArchiveExtension[] = ".PFP";
inline constexpr char kArchiveBackupSuffix[] = "_OLD.PFP";
inline constexpr char kMemberIndexBackupName[] = "PFPDATA_OLD.IDX";
// The last line of every message of a command that refused or undid its work.
inline constexpr char kNothingChanged[] = "Nothing has been changed.";

// PFPDATA.IDX or EXT.IDX is missing.
std::string MissingIndexFilesMessage(const std::string& dataFolder);
// No member has the chosen file's base name.
std::string MemberNotFoundMessage(std::string_view baseName);
// The one report of success, with how to go back to the previous files.
std::string InsertionCompletedMessage(const std::string& chosenPath, const std::string& dataFolder,
                                      const std::string& archiveName);

// A check refused the chosen file before anything was written.
std::string InsertionRefusedMessage(const std::string& chosenPath, const std::string& reason);
// Writing or replacing the files failed; everything was put back.
std::string InsertionFailedMessage(const std::string& chosenPath, const std::string& archivePath,
                                   const std::string& reason);
// PFPDATA.IDX has bytes after its last whole record, which a rewrite could not keep.
std::string IndexNotWholeMessage(const std::string& indexPath);
// A library failure (memory, for one) met anywhere in the command.
std::string InsertionExceptionMessage(const std::string& what);

// The reasons of InsertionRefusedMessage.
std::string NoExtensionReason();
std::string CannotReadReason(const std::string& path, const std::string& reason);
std::string NoArchiveForMemberReason(const std::string& extIndexPath, std::string_view baseName);
std::string NotAFileNameReason(const std::string& extIndexPath, std::string_view archiveName);
std::string BackupIsAnArchiveReason(const std::string& backupPath, const std::string& extIndexPath,
                                    std::string_view otherArchive);
std::string ArchiveMissingReason(const std::string& archivePath);
std::string PlanFaultReason(PlanFault fault, const std::string& indexPath,
                            const std::string& archivePath, std::string_view baseName,
                            std::uint64_t archiveLength);

}  // namespace zorvane::archive
