#include "graphics/bmp_set_listing.h"

#include <algorithm>

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

std::optional<SetFile> SetFileOf(std::string_view fileName) {
  const auto endsWith = [fileName](std::string_view extension) {
    return fileName.size() >= extension.size() &&
           platform::EqualIgnoringCase(fileName.substr(fileName.size() - extension.size()),
                                       extension);
  };
  if (endsWith(PictureExtension(PictureFormat::Bmp))) {
    if (auto set = SetNameOf(fileName)) return SetFile{std::move(*set), PictureFormat::Bmp};
    return std::nullopt;
  }
  if (!endsWith(PictureExtension(PictureFormat::Png))) return std::nullopt;
  const std::string_view stem = fileName.substr(0, fileName.find('.'));
  const bool numbered =
      stem.size() > kNumberPart && stem[stem.size() - kNumberPart] == '_' &&
      stem.find_first_not_of("0123456789", stem.size() - kNumberPart + 1) == std::string_view::npos;
  if (numbered) return SetFile{*SetNameOf(fileName), PictureFormat::Png};
  if (stem.empty()) return std::nullopt;
  return SetFile{platform::UpperCase(stem), PictureFormat::Sheet};
}

std::string BmpSetRow(std::string_view setName, RepackDestination destination, int fileCount,
                      const std::vector<PictureFormat>& formats) {
  std::string shown(setName);
  if (shown.size() > kMaxSetName) {
    shown.resize(kMaxSetName);
    shown.push_back(kLongSetNameMarker);
  }
  std::string row = platform::LeftAligned(shown, kNameColumn) +
                    std::string(ArchiveColumn(destination)) +
                    platform::RightAligned(std::to_string(fileCount), kCountColumn);
  if (formats == std::vector{PictureFormat::Bmp}) return row;
  row += "  ";
  for (std::size_t i = 0; i < formats.size(); ++i) {
    row += (i == 0 ? "" : " and ") + std::string(PictureFormatName(formats[i]));
  }
  return row;
}

std::string SetNameOfRow(std::string_view row) {
  return std::string(platform::TrimSpaces(row.substr(0, kNameColumn)));
}

std::vector<std::string> BmpSetRows(const std::vector<std::string>& fileNames,
                                    RepackDestination destination) {
  std::vector<std::string> rows;
  std::string previous;
  int count = 0;
  std::vector<PictureFormat> formats;
  const auto addRow = [&] {
    if (previous.empty()) return;
    std::sort(formats.begin(), formats.end());
    rows.push_back(BmpSetRow(previous, destination, count, formats));
  };
  for (const std::string& file : fileNames) {
    const auto set = SetFileOf(file);
    if (!set) continue;
    if (set->Set != previous) {
      addRow();
      previous = set->Set;
      count = 0;
      formats.clear();
    }
    ++count;
    if (std::find(formats.begin(), formats.end(), set->Format) == formats.end()) {
      formats.push_back(set->Format);
    }
  }
  addRow();
  return rows;
}

std::string MissingBmpFolderMessage(const std::string& folder) {
  return platform::JoinLines(
      {"The Folder: ", folder, "Does not exist. No Files ready for conversion."});
}

SetFolderListing ListSetFolder(std::string folder, std::string_view prefix) {
  SetFolderListing listing{platform::ListFiles(folder, std::string(prefix) + "*"),
                           {std::move(folder), std::string(prefix) + "*.BMP", {}}};
  for (const std::string& name : listing.Names) {
    if (platform::MatchesWildcard(name, listing.Bmps.Pattern)) listing.Bmps.Names.push_back(name);
  }
  return listing;
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
  // The window's file list shows the BMP files; the rows count the PNG files too.
  SetFolderListing listed = ListSetFolder(folder, "");
  return BmpSetListing{std::move(listed.Bmps), BmpSetRows(listed.Names, destination)};
}

}  // namespace zorvane::graphics
