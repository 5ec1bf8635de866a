#include "drill_installation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "cli/cli.h"
#include "sample/sample_installation.h"
#include "sample/sample_pictures.h"
#include "sample/sample_sprites.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {

namespace {

namespace fs = std::filesystem;

void RunOrThrow(const std::vector<std::string>& args) {
  std::ostringstream out;
  if (cli::RunCli(args, out, out) != cli::kExitCompleted) {
    throw std::runtime_error("preparing the installation failed:\n" + out.str());
  }
}

struct MadeInstallation {
  testing::TempFolder Root{DrillParentFolder()};
  Installation Folders{Root / "DATA/", Root / "PROGRAM/", Root / "INPUTS/"};

  MadeInstallation() {
    fs::create_directories(Folders.Program);
    fs::create_directories(Folders.Inputs + kUnitExtractsFolder);
    if (!sample::WriteSampleInstallation(Folders.Data, {1})) throw std::runtime_error("sample");
    // The internal palettes; the files it makes in the DATA folder are not part of the start.
    RunOrThrow(
        {"--data", Folders.Data, "--program-dir", Folders.Program, "extract", "pal", "--all"});
    fs::remove_all(Folders.Data + "TOVRIN_PFP");

    testing::WriteFile(Folders.Inputs + kSpriteToInsert,
                       sample::SpriteFile({sample::Button(5), sample::Button(6)}, true));
    testing::WriteFile(Folders.Inputs + kSecondSpriteToInsert,
                       sample::SpriteFile({sample::Button(7)}, true));
    testing::WriteFile(Folders.Inputs + kTileToInsert,
                       sample::SpriteFile({sample::Button(8), sample::Button(9)}, true));

    const std::string larger = Root / "LARGER/";
    if (!sample::WriteSampleInstallation(larger, {2})) throw std::runtime_error("sample");
    RunOrThrow({"--data", larger, "--program-dir", Folders.Program, "extract-units"});
    for (const auto& entry : fs::directory_iterator(larger + "EXTRACTS")) {
      fs::copy_file(entry.path(),
                    Folders.Inputs + kUnitExtractsFolder + entry.path().filename().string());
    }
    fs::remove_all(larger);
  }
};

}  // namespace

const Installation& DrillInstallation() {
  static const auto made = std::make_unique<MadeInstallation>();
  return made->Folders;
}

}  // namespace zorvane::reliability
