#include "archive/archive_choice.h"

namespace zorvane::archive {

namespace {

constexpr std::string_view kDoubleClickToConvert =
    "To extract a file and convert it to BMP-files Doubleclick the filename in the list.";
constexpr std::string_view kConvertToolTip = "Doubleclick to extract and convert a file.";

constexpr ArchiveChoiceTexts kNoChoice{};
constexpr ArchiveChoiceTexts kAllArchives{"Current Content of all '.PFP' files.", "", "", ""};
constexpr ArchiveChoiceTexts kShpArchive{"Current Content of the 'SHP.PFP' file.",
                                         kDoubleClickToConvert, kConvertToolTip, "SHP"};
constexpr ArchiveChoiceTexts kTilArchive{"Current Content of the 'TIL.PFP' file.",
                                         kDoubleClickToConvert, kConvertToolTip, "TIL"};
constexpr ArchiveChoiceTexts kPalArchive{
    "Current Content of the 'PAL.PFP' file.\r\n"
    "To make a fresh palette for painting, Doubleclick the filename in the list.",
    "First time you run this Tool, you will have to make ALL palettes. Otherwise the Tool cannot "
    "run proper.",
    "Doubleclick to extract an BGR palette as binary file.", "PAL"};

}  // namespace

const ArchiveChoiceTexts& TextsFor(ArchiveChoice choice) {
  switch (choice) {
    case ArchiveChoice::AllArchives:
      return kAllArchives;
    case ArchiveChoice::ShpArchive:
      return kShpArchive;
    case ArchiveChoice::TilArchive:
      return kTilArchive;
    case ArchiveChoice::PalArchive:
      return kPalArchive;
    case ArchiveChoice::None:
      break;
  }
  return kNoChoice;
}

std::vector<MemberRecord>& TableFor(IndexTables& tables, ArchiveChoice choice) {
  switch (choice) {
    case ArchiveChoice::ShpArchive:
      return tables.ShpMembers;
    case ArchiveChoice::TilArchive:
      return tables.TilMembers;
    case ArchiveChoice::PalArchive:
      return tables.PalMembers;
    case ArchiveChoice::AllArchives:
    case ArchiveChoice::None:
      break;
  }
  return tables.MemberTable;
}

}  // namespace zorvane::archive
