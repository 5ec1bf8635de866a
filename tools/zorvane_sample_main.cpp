#include <cstdlib>
#include <iostream>
#include <string>

#include "app/version.h"
#include "sample/sample_installation.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: zorvane-sample DIR [--scale N]\n"
         "       zorvane-sample --help | --version\n"
         "  writes a synthetic PacGen DATA folder into DIR; N (1 to "
      << zorvane::sample::kMaxScale << ") multiplies its member and sub-image counts\n";
}

int Usage() {
  PrintUsage(std::cerr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::cout << "zorvane-sample " << zorvane::app::VersionNumber() << '\n';
    return 0;
  }
  std::string folder;
  zorvane::sample::SampleOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--scale" && i + 1 < argc) {
      char* end = nullptr;
      const long scale = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || scale < 1 || scale > zorvane::sample::kMaxScale) return Usage();
      options.Scale = static_cast<int>(scale);
    } else if (folder.empty() && !arg.starts_with("--")) {
      folder = arg;
    } else {
      return Usage();
    }
  }
  if (folder.empty()) return Usage();
  if (auto written = zorvane::sample::WriteSampleInstallation(folder, options); !written) {
    std::cerr << "zorvane-sample: cannot write " << folder << ": " << written.Reason() << '\n';
    return 1;
  }
  const auto counts = zorvane::sample::CountsForScale(options.Scale);
  std::cout << "Sample PacGen DATA folder written to " << folder << " (scale " << options.Scale
            << ": " << counts.UnitDescriptions << " unit descriptions, " << counts.TileFiles
            << " tile files of " << counts.HexesPerTile << " hexes, " << counts.UnitIcons
            << " unit icons, " << counts.FillerArchives << " filler archives; "
            << zorvane::sample::MemberIndexRecords(counts) << " records in PFPDATA.IDX, "
            << zorvane::sample::ArchiveIndexRecords(counts) << " in EXT.IDX)\n";
  return 0;
}
