#include "graphics/bmp_set_listing.h"

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

using platform::NativeRelative;

constexpr std::size_t kNameColumn = 12;
constexpr std::size_t kCountColumn = 6;
// The "_" and the five digits between a set name and the dot.
constexpr std::size_t kNumberPart = 6;

std::string_view ArchiveColumn(RepackDestination destination) {
  return destination == RepackDestination::Icons ? "SHP.PFP        " : "TIL.PFP        ";
}

}  // namespace

std::string RepackFolderOf(RepackDestination destination) {
  return NativeRelative(destination == RepackDestination::Icons ? "TOVRIN_PFP\\ICONS\\"
                                                                : "TOVRIN_PFP\\TILES\\");
}

std::string BmpFolderOf(const std::string& dataFolder, RepackDestination destination) {
  return dataFolder + RepackFolderOf(destination) + "BMPFILES";
}

std::string BmpSetListHint(const std::string& dataFolder, RepackDestination destination) {
  return platform::JoinLines(
      {"Doubleclick a file to convert all its BMP files back to SHP",
       "The SHP file will be saved in " + dataFolder + RepackFolderOf(destination)});
}

std::optional<std::string> SetNameOf(std::string_view fileName) {
  const std::size_t dot = fileName.find('.');
  if (dot == std::string_view::npos || dot <= kNumberPart) return std::nullopt;
  return platform::UpperCase(fileName.substr(0, dot - kNumberPart));
}

std::string BmpSetRow(std::string_view setName, RepackDestination destination, int fileCount) {
  std::string shown(setName);
  if (shown.size() > kMaxSetName) {
    shown.resize(kMaxSetName);
    shown.push_back(kLongSetNameMarker);
  }
  return platform::LeftAligned(shown, kNameColumn) + std::string(ArchiveColumn(destination)) +
         platform::RightAligned(std::to_string(fileCount), kCountColumn);
}

std::string SetNameOfRow(std::string_view row) {
  return std::string(platform::TrimSpaces(row.substr(0, kNameColumn)));
}

std::vector<std::string> BmpSetRows(const std::vector<std::string>& fileNames,
                                    RepackDestination destination) {
  std::vector<std::string> rows;
  std::string previous;
  int count = 0;
  for (const std::string& file : fileNames) {
    const auto set = SetNameOf(file);
    if (!set) continue;
    if (*set == previous) {
      ++count;
      continue;
    }
    if (!previous.empty()) rows.push_back(BmpSetRow(previous, destination, count));
    previous = *set;
    count = 1;
  }
  if (!previous.empty()) rows.push_back(BmpSetRow(previous, destination, count));
  return rows;
}

std::string MissingBmpFolderMessage(const std::string& folder) {
  return platform::JoinLines(
      {"The Folder: ", folder, "Does not exist. No Files ready for conversion."});
}

ListedBmpFiles ListBmpFiles(std::string folder, std::string pattern) {
  std::vector<std::string> names = platform::ListFiles(folder, pattern);
  return {std::move(folder), std::move(pattern), std::move(names)};
}

std::optional<BmpSetListing> ListBmpSets(const std::string& dataFolder,
                                         RepackDestination destination, RepackContext& repack,
                                         platform::Ui& ui) {
  const std::string folder = BmpFolderOf(dataFolder, destination);
  if (destination == RepackDestination::Tiles) repack.RepackFolder = RepackFolderOf(destination);
  if (!platform::FolderExists(folder)) {
    ui.ShowMessage(MissingBmpFolderMessage(folder));
    return std::nullopt;
  }
  repack.RepackFolder = RepackFolderOf(destination);
  BmpSetListing listing{ListBmpFiles(folder, "*.BMP"), {}};
  listing.Rows = BmpSetRows(listing.Files.Names, destination);
  return listing;
}

}  // namespace zorvane::graphics
