// Extraction speed: decoding the sample's largest tile file (2000 hexes of 64 x 32), writing
// its BMPs, and extracting every member of TIL.PFP against copying the archive's bytes.
//
//   build/bench/bench/extraction_bench [--benchmark_filter=...]
//   ZORVANE_BENCH_SCALE=N sets the scale of the installation for the archive benchmarks (5).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/main_window_events.h"
#include "app/row_dispatch.h"
#include "floor_files.h"
#include "graphics/bmp_header.h"
#include "graphics/sprite_conversion.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "platform/copy_range.h"
#include "platform/file_system.h"
#include "platform/safe_file.h"
#include "platform/scripted_ui.h"
#include "sample/sample_installation.h"
#include "sample/sample_pictures.h"
#include "sample/sample_sprites.h"
#include "scratch_folder.h"

namespace {

using namespace zorvane;

constexpr int kLargestTileHexes = 2000;  // the hexes of a tile file from --scale 50 on

const std::vector<std::uint8_t>& LargestTileFile() {
  static const std::vector<std::uint8_t> file = [] {
    const std::string name = sample::TileNames(1)[0];
    std::vector<sample::Picture> hexes;
    for (int i = 0; i < kLargestTileHexes; ++i) hexes.push_back(sample::HexTile(name, i));
    return sample::SpriteFile(hexes, true);
  }();
  return file;
}

void DecodeLargestTileFile(benchmark::State& state) {
  const auto& file = LargestTileFile();
  const graphics::ShpFileReader reader(file);
  graphics::PixelBuffer pixels;
  std::int64_t decoded = 0;
  for (auto _ : state) {
    for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
      graphics::DecodeShpImage(*reader.SubImage(i), true, pixels);
      benchmark::DoNotOptimize(pixels.Bytes.data());
      decoded += std::int64_t{pixels.Width} * pixels.Height;
    }
  }
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(decoded), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(DecodeLargestTileFile)->Unit(benchmark::kMillisecond);

// The same file read from disk the way the extraction reads a member: on demand, through the
// reader's bounded windows.
void DecodeLargestTileFileFromDisk(benchmark::State& state) {
  ScratchFolder folder;
  const auto& bytes = LargestTileFile();
  bench::WriteFileWhole(folder.Path + "LARGEST.SHP", bytes);
  const auto file = platform::InputFile::Open(folder.Path + "LARGEST.SHP");
  if (!file) std::abort();
  graphics::PixelBuffer pixels;
  std::int64_t decoded = 0;
  for (auto _ : state) {
    const graphics::ShpFileReader reader(file.Value(), 0, file.Value().Length());
    for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
      graphics::DecodeShpImage(*reader.SubImage(i), true, pixels);
      benchmark::DoNotOptimize(pixels.Bytes.data());
      decoded += std::int64_t{pixels.Width} * pixels.Height;
    }
    if (reader.ReadFailure()) std::abort();
  }
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(decoded), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(DecodeLargestTileFileFromDisk)->Unit(benchmark::kMillisecond);

// The sprite file on disk converted into its 2000 BMPs, as after a double-click.
void ConvertLargestTileFile(benchmark::State& state) {
  ScratchFolder folder;
  graphics::ExtractionContext context;
  context.MemberName = "LARGEST";
  context.ExtractFolder = folder.Path;
  context.BmpFolder = folder.Path + "BMPFILES/";
  context.MemberExtension = ".SHP";
  std::filesystem::create_directory(context.BmpFolder);
  bench::WriteFileWhole(folder.Path + "LARGEST.SHP", LargestTileFile());
  graphics::PaletteState palettes;
  graphics::PictureState picture;
  platform::ScriptedUi ui;
  for (auto _ : state) {
    graphics::ConvertShpToBmp({context, palettes, picture}, ui);
    if (context.ShpRejected || context.ImageIndex != kLargestTileHexes) std::abort();
  }
  state.counters["BMPs/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kLargestTileHexes), benchmark::Counter::kIsRate);
}
BENCHMARK(ConvertLargestTileFile)->Unit(benchmark::kMillisecond);

// The floor of the conversion: as many files of the same size written the same safe way,
// without reading or decoding anything.
void WriteAsManyFilesAsTheConversion(benchmark::State& state) {
  ScratchFolder folder;
  const std::vector<std::uint8_t> bytes(graphics::kBmpPixelOffset + graphics::Stride(64) * 32, 7);
  for (auto _ : state) {
    for (int i = 0; i < kLargestTileHexes; ++i) {
      const std::string path =
          folder.Path + graphics::SubImageFileName("LARGEST", i, graphics::PictureFormat::Bmp);
      bench::WriteFileWhole(path, bytes);
    }
  }
  state.counters["files/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kLargestTileHexes), benchmark::Counter::kIsRate);
}
BENCHMARK(WriteAsManyFilesAsTheConversion)->Unit(benchmark::kMillisecond);

int Scale() {
  const char* text = std::getenv("ZORVANE_BENCH_SCALE");
  return text != nullptr ? std::max(1, std::atoi(text)) : 5;
}

const std::string& Installation() {
  static ScratchFolder folder;
  static const bool written = sample::WriteSampleInstallation(folder.Path, {Scale()}).Ok();
  if (!written) std::abort();
  return folder.Path;
}

// Every member of TIL.PFP double-clicked in its list: the .SHP files and all their BMPs.
void ExtractWholeTileArchive(benchmark::State& state) {
  const std::string& data = Installation();
  ScratchFolder program;
  platform::ScriptedUi ui;
  app::Session session(ui, program.Path);
  if (!app::RunStartUp(session, {data}) || !app::ClickOption(session, 3)) std::abort();
  const auto rows = static_cast<int>(session.Window.List1.size());
  for (auto _ : state) {
    for (int row = 0; row < rows; ++row) {
      session.Window.ListIndex = row;
      app::OnList1DoubleClick(session);
      if (!session.Extraction.Completed) std::abort();
    }
    ui.Clear();
  }
  state.counters["members"] = rows;
  state.SetBytesProcessed(static_cast<std::int64_t>(
      state.iterations() * platform::FileLength(data + "TIL.PFP").Value()));
  std::filesystem::remove_all(data + "TOVRIN_PFP");
}
BENCHMARK(ExtractWholeTileArchive)->Unit(benchmark::kMillisecond);

// The floor: the same archive's bytes copied into one new file.
void CopyWholeTileArchive(benchmark::State& state) {
  const std::string& data = Installation();
  ScratchFolder target;
  auto archive = platform::InputFile::Open(data + "TIL.PFP");
  if (!archive) std::abort();
  for (auto _ : state) {
    bench::WriteFileThrough(target.Path + "TIL.PFP", [&](platform::SafeFileWriter& out) {
      return static_cast<bool>(
          platform::CopyRange(archive.Value(), 0, archive.Value().Length(), out));
    });
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * archive.Value().Length()));
}
BENCHMARK(CopyWholeTileArchive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
