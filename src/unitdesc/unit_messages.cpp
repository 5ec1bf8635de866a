#include "unitdesc/unit_messages.h"

#include "archive/insertion_messages.h"
#include "platform/text_lines.h"

namespace zorvane::unitdesc {

using archive::kNothingChanged;
using platform::JoinLines;

std::string TextArchiveMissingMessage() {
  return JoinLines({"I have not been able to find your TXT.PFP file.",
                    "This file is needed for extracting the unitdescriptions.",
                    "You MUST have all the files from your PacGen DATA folder in the folder "
                    "pointed to by the setup Folders Menu."});
}

std::string ExtractedMessage(const std::string& textPath, const std::string& indexPath) {
  return JoinLines({"Your Unitdescriptions has been extracted to", "", textPath, "",
                    "an indexfile for this extract has been created as", "", indexPath, "",
                    "These two files is needed for this program to be able",
                    "to insert your unitdescriptions in other PacGen installations."});
}

std::string NotExtractedMessage(const std::string& reason) {
  return JoinLines({"The unitdescriptions have not been extracted:", reason,
                    "Earlier extracts, if any, are as they were."});
}

std::string BlockOutsideMessage(const std::string& indexPath, std::int64_t start,
                                const std::string& textPath, std::uint64_t textLength) {
  return JoinLines({kCannotFindUnitDescriptions,
                    indexPath + " places them at byte " + std::to_string(start) + ", outside " +
                        textPath + " (" + std::to_string(textLength) + " bytes)."});
}

std::string ExtractFilesMissingMessage(const std::string& extractFolder) {
  return JoinLines({"cannot find all needed Extractfiles in folder:" + extractFolder,
                    "Make sure that you have a folder with both the *.KRT files and point to "
                    "that."});
}

std::string DataFileMissingMessage(const std::string& dataFolder) {
  return "Cannot find " + dataFolder + "PFPDATA.IDX or " + dataFolder + "EXT.IDX or " + dataFolder +
         "TXT.PFP";
}

std::string AudioMissingMessage(const std::string& indexPath) {
  return JoinLines({"Cannot find the member AUDIO in " + indexPath +
                        ". The unitdescriptions end where it begins.",
                    kNothingChanged});
}

std::string AudioMisplacedMessage(const std::string& indexPath) {
  return JoinLines({"The member AUDIO in " + indexPath +
                        " is not the first member of the second archive, where the "
                        "unitdescriptions end.",
                    kNothingChanged});
}

std::string ArchivesDisagreeMessage(const std::string& indexPath, const std::string& archivePath,
                                    const std::string& detail) {
  return JoinLines({"The archives in " + indexPath + " and " + archivePath + " do not agree:",
                    detail, kNothingChanged});
}

std::string TooManyMembersMessage(const std::string& indexPath, std::size_t records) {
  return JoinLines({"With these unitdescriptions " + indexPath + " would hold " +
                        std::to_string(records) + " records, more than 32767.",
                    kNothingChanged});
}

std::string TextArchiveTooLargeMessage(const std::string& textPath) {
  return JoinLines(
      {"With these unitdescriptions " + textPath + " would be larger than 2147483647 bytes.",
       kNothingChanged});
}

std::string TextBeforeUnitsOutsideMessage(const std::string& indexPath, std::int64_t end,
                                          const std::string& textPath, std::uint64_t textLength) {
  return JoinLines({indexPath + " places the members before the unitdescriptions up to byte " +
                        std::to_string(end) + ", outside " + textPath + " (" +
                        std::to_string(textLength) + " bytes).",
                    kNothingChanged});
}

std::string UnitAtArchiveStartMessage(const std::string& unitName, const std::string& textPath) {
  return JoinLines({"The unitdescription '" + unitName + "' would begin at byte 0 of " + textPath +
                        ", where PFPDATA.IDX can only hold the first member of an archive.",
                    kNothingChanged});
}

std::string LengthsPastTextMessage(const std::string& indexPath, std::int64_t lengths,
                                   const std::string& textPath, std::uint64_t textBytes) {
  return JoinLines({"The lengths in " + indexPath + " add up to " + std::to_string(lengths) +
                        " bytes, more than the " + std::to_string(textBytes) +
                        " bytes of text in " + textPath + ".",
                    kNothingChanged});
}

std::string NotInsertedMessage(const std::string& reason) {
  return JoinLines({"The unitdescriptions have not been inserted:", reason,
                    "Your TXT.PFP, PFPDATA.IDX and EXT.IDX are as they were."});
}

std::string InsertedMessage(const std::string& extractFolder, const std::string& dataFolder) {
  return JoinLines({"Unitdescriptions inserted.",
                    "The files used for insertion is:", extractFolder + "UnitDescriptions.KRT",
                    extractFolder + "UnitIDX.KRT", "Files Affected is:", dataFolder + "TXT.PFP",
                    dataFolder + "PFPDATA.IDX", dataFolder + "EXT.IDX",
                    "Your previous files has been renamed:", dataFolder + "OLD_TXT.PFP",
                    dataFolder + "OLD_PFPDATA.IDX", dataFolder + "OLD_EXT.IDX",
                    "To restore your old files, just delete the new ones and rename the OLD_*.* "
                    "files"});
}

}  // namespace zorvane::unitdesc
