#include "archive/insertion_messages.h"

#include "archive/index_files.h"
#include "platform/text_lines.h"

namespace zorvane::archive {

std::string MissingIndexFilesMessage(const std::string& dataFolder) {
  return platform::JoinLines({"I cannot find the files:", dataFolder + kMemberIndexName, "and",
                              dataFolder + kArchiveIndexName,
                              "Check your foldersettings in the 'Settings' menu."});
}

std::string MemberNotFoundMessage(std::string_view baseName) {
  return "I couldn't find the file " + std::string(baseName) +
         ", you have to insert a file that is allready known to PacGen.";
}

std::string InsertionCompletedMessage(const std::string& chosenPath, const std::string& dataFolder,
                                      const std::string& archiveName) {
  return platform::JoinLines({
      "Insertion of file:",
      chosenPath,
      "into ",
      dataFolder + archiveName + kArchiveExtension,
      "has completet. Your ",
      dataFolder + kMemberIndexName + " has been updatet.",
      "A backup of your old files has been placed as ",
      dataFolder + archiveName + kArchiveBackupSuffix,
      "and",
      dataFolder + kMemberIndexBackupName,
      "To restore the old files, you just have to delete the new files",
      "and rename the '*_OLD.*' - removing the '_OLD' from the name.",
  });
}

std::string InsertionRefusedMessage(const std::string& chosenPath, const std::string& reason) {
  return platform::JoinLines(
      {"Cannot insert " + chosenPath + ": " + reason + ".", kNothingChanged});
}

std::string InsertionFailedMessage(const std::string& chosenPath, const std::string& archivePath,
                                   const std::string& reason) {
  return platform::JoinLines(
      {"The insertion of " + chosenPath + " into " + archivePath + " has failed:", reason,
       kNothingChanged});
}

std::string IndexNotWholeMessage(const std::string& indexPath) {
  return platform::JoinLines({"Cannot insert into the archives: " + indexPath +
                                  " does not end on a whole record (its length is not 4 bytes "
                                  "plus a multiple of 16).",
                              kNothingChanged});
}

std::string InsertionExceptionMessage(const std::string& what) {
  return platform::JoinLines({"The insertion has failed: " + what, kNothingChanged});
}

std::string NoExtensionReason() {
  return "its file name has no extension, so it names no member";
}

std::string CannotReadReason(const std::string& path, const std::string& reason) {
  return "cannot read " + path + ": " + reason;
}

std::string NoArchiveForMemberReason(const std::string& extIndexPath, std::string_view baseName) {
  return extIndexPath + " names no archive for the member " + std::string(baseName);
}

std::string NotAFileNameReason(const std::string& extIndexPath, std::string_view archiveName) {
  return "the archive name '" + std::string(archiveName) + "' in " + extIndexPath +
         " is not a file name";
}

std::string ArchiveMissingReason(const std::string& archivePath) {
  return "the archive " + archivePath + " does not exist";
}

std::string BackupIsAnArchiveReason(const std::string& backupPath, const std::string& extIndexPath,
                                    std::string_view otherArchive) {
  return "its backup " + backupPath + " would take the place of the archive " +
         std::string(otherArchive) + ", which " + extIndexPath + " lists";
}

std::string PlanFaultReason(PlanFault fault, const std::string& indexPath,
                            const std::string& archivePath, std::string_view baseName,
                            std::uint64_t archiveLength) {
  switch (fault) {
    case PlanFault::EmptyContent:
      return "the file is empty";
    case PlanFault::IndexDoesNotMatchArchive:
      return indexPath + " does not match " + archivePath + " (" + std::to_string(archiveLength) +
             " bytes): it places the member " + std::string(baseName) +
             " or the members after it outside the archive, out of order or not back to back";
    case PlanFault::TooLarge:
      return "the new " + archivePath + " would be too large for the offsets of " + indexPath;
  }
  return {};
}

}  // namespace zorvane::archive
