#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/version.h"
#include "platform/command_line.h"
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
  const std::vector<std::string> args = zorvane::platform::ProgramArguments(argc, argv);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (args.size() == 1 && args[0] == "--version") {
    std::cout << "zorvane-sample " << zorvane::app::VersionNumber() << '\n';
    return 0;
  }
  std::string folder;
  zorvane::sample::SampleOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--scale" && i + 1 < args.size()) {
      char* end = nullptr;
      const long scale = std::strtol(args[++i].c_str(), &end, 10);
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
