// Repacking speed on the sample's largest tile set (2000 hexes of 64 x 32, as a tile file has
// them from --scale 50 on): coding the pictures in memory, in pixels per second, and the whole
// repack of the set's 2000 BMPs into one sprite file, against its floor, reading the same
// files and writing a file of the same size.
//
//   build/bench/bench/repack_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "floor_files.h"
#include "graphics/bmp_file.h"
#include "graphics/bmp_repack.h"
#include "graphics/sprite_conversion.h"
#include "graphics/sprite_packer.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "platform/scripted_ui.h"
#include "sample/sample_pictures.h"
#include "scratch_folder.h"

namespace {

using namespace zorvane;

constexpr int kLargestTileHexes = 2000;
constexpr char kSetName[] = "LARGEST";

// The hexes of the largest tile file, in the order of a BMP (row 0 the bottom row).
const std::vector<graphics::PixelBuffer>& LargestTileSet() {
  static const std::vector<graphics::PixelBuffer> set = [] {
    const std::string name = sample::TileNames(1)[0];
    std::vector<graphics::PixelBuffer> pictures(kLargestTileHexes);
    for (int i = 0; i < kLargestTileHexes; ++i) {
      const sample::Picture hex = sample::HexTile(name, i);
      graphics::ResetPixelBuffer(pictures[i], hex.Width, hex.Height);
      for (int y = 0; y < hex.Height; ++y) {
        for (int x = 0; x < hex.Width; ++x) pictures[i].Row(hex.Height - 1 - y)[x] = hex.At(x, y);
      }
    }
    return pictures;
  }();
  return set;
}

std::int64_t PixelsOf(const std::vector<graphics::PixelBuffer>& pictures) {
  std::int64_t pixels = 0;
  for (const auto& picture : pictures) pixels += std::int64_t{picture.Width} * picture.Height;
  return pixels;
}

// Coding every hex into a sprite file held in memory: the work of the repack without files.
void EncodeLargestTileSet(benchmark::State& state) {
  const auto& pictures = LargestTileSet();
  std::size_t fileSize = 0;
  for (auto _ : state) {
    graphics::SpritePacker packer;
    for (const auto& picture : pictures) {
      if (!packer.Add(picture, true)) std::abort();
    }
    benchmark::DoNotOptimize(packer.PackBuffer().data());
    fileSize = packer.HeaderAndTable().size() + packer.PackBuffer().size();
  }
  state.counters["pixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * PixelsOf(pictures)), benchmark::Counter::kIsRate);
  state.counters["file bytes"] = static_cast<double>(fileSize);
}
BENCHMARK(EncodeLargestTileSet)->Unit(benchmark::kMillisecond);

// A DATA folder whose tile BMP folder holds the set's 2000 BMPs, as the extraction writes them.
struct TileSetOnDisk {
  TileSetOnDisk() {
    BmpFolder = Data.Path + "TOVRIN_PFP/TILES/BMPFILES/";
    std::filesystem::create_directories(BmpFolder);
    graphics::PictureState picture;
    for (int i = 0; i < kLargestTileHexes; ++i) {
      picture.PixelBuffer = LargestTileSet()[i];
      graphics::SetBmpPictureSize(picture.BmpHeader, picture.PixelBuffer.Width,
                                  picture.PixelBuffer.Height);
      const std::string path =
          BmpFolder + graphics::SubImageFileName(kSetName, i, graphics::PictureFormat::Bmp);
      bench::WriteFileThrough(path, [&picture](platform::SafeFileWriter& out) {
        return static_cast<bool>(graphics::WriteBmp(out, picture));
      });
    }
  }
  ScratchFolder Data;
  std::string BmpFolder;
};

// The double-click on the set's row: listing, reading, coding, writing the sprite file.
void RepackLargestTileSet(benchmark::State& state) {
  TileSetOnDisk set;
  graphics::RepackContext repack{"TOVRIN_PFP/TILES/", false};
  graphics::PaletteState palettes;
  graphics::PictureState picture;
  platform::ScriptedUi ui;
  const std::vector<std::string> rows{
      graphics::BmpSetRow(kSetName, graphics::RepackDestination::Tiles, kLargestTileHexes)};
  for (auto _ : state) {
    graphics::RepackBmpSets({set.Data.Path, graphics::RepackDestination::Tiles, rows, set.Data.Path},
                            repack, palettes, picture, ui);
    if (!repack.Completed) std::abort();
    ui.Clear();
  }
  state.counters["BMPs/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kLargestTileHexes), benchmark::Counter::kIsRate);
}
BENCHMARK(RepackLargestTileSet)->Unit(benchmark::kMillisecond);

// The floor of the repack: the same 2000 files read whole, and one file of the sprite file's
// size written the same safe way.
void ReadTheFilesAndWriteOne(benchmark::State& state) {
  TileSetOnDisk set;
  const auto names = platform::ListFiles(set.BmpFolder, "*.BMP");
  graphics::SpritePacker packer;
  for (const auto& picture : LargestTileSet()) packer.Add(picture, true);
  const std::vector<std::uint8_t> sprite = packer.FileBytes();
  for (auto _ : state) {
    std::size_t read = 0;
    for (const std::string& name : names) {
      const auto bytes = platform::ReadWholeFile(set.BmpFolder + name);
      if (!bytes) std::abort();
      read += bytes.Value().size();
    }
    benchmark::DoNotOptimize(read);
    bench::WriteFileWhole(set.Data.Path + "TOVRIN_PFP/TILES/COPY.SHP", sprite);
  }
  state.counters["BMPs/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kLargestTileHexes), benchmark::Counter::kIsRate);
}
BENCHMARK(ReadTheFilesAndWriteOne)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
