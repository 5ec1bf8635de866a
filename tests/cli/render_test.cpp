#include <gtest/gtest.h>
#include <spng.h>

#include <memory>

#include "archive/index_files.h"
#include "cli_fixture.h"
#include "graphics/member_view.h"

namespace zorvane::cli {
namespace {

// A PNG as read back by libspng: its header, palette, whether it has a tRNS chunk, its indices.
struct ReadPng {
  spng_ihdr Header{};
  spng_plte Palette{};
  bool Transparency = true;
  testing::Bytes Indices;
};

ReadPng ReadBack(const testing::Bytes& file) {
  const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> png(spng_ctx_new(0), spng_ctx_free);
  ReadPng read;
  std::size_t size = 0;
  EXPECT_EQ(spng_set_png_buffer(png.get(), file.data(), file.size()), 0);
  EXPECT_EQ(spng_get_ihdr(png.get(), &read.Header), 0);
  EXPECT_EQ(spng_get_plte(png.get(), &read.Palette), 0);
  EXPECT_EQ(spng_decoded_image_size(png.get(), SPNG_FMT_PNG, &size), 0);
  read.Indices.resize(size);
  EXPECT_EQ(spng_decode_image(png.get(), read.Indices.data(), size, SPNG_FMT_PNG, 0), 0);
  spng_trns trns{};
  read.Transparency = spng_get_trns(png.get(), &trns) != SPNG_ECHUNKAVAIL;
  return read;
}

// Each row: the arguments after "render", then the sub-image, zoom and palette it shows. Every
// pixel is the decoded sub-image's index, enlarged; the palette is the internal palette file's
// colours in order, the DAY's index 213 (transparent) light pink.
TEST_F(CliFixture, RenderWritesTheSubImageAsAnIndexedPngOfItsPalette) {
  testing::TempFolder pictures;
  const std::string png = pictures / "shown.png";
  ASSERT_EQ(Run({"extract", "pal", "--all"}), kExitCompleted);
  const std::tuple<Lines, int, int, std::string> rows[] = {
      {{"shp", "UNITICON", "--frame", "3", "--png", png}, 3, 1, "DAY"},
      {{"til", "T_CLR_DD", "--png", png, "--palette", "turn02u", "--zoom", "3"}, 0, 3, "TURN02U"},
      {{"til", "T_CLR_DD", "--frame", "39", "--zoom", "16", "--png", png}, 39, 16, "DAY"},
      {{"shp", "MAINMENU", "--zoom", "2", "--png", png}, 0, 2, "MAIN"}};
  for (auto [args, frame, zoom, palette] : rows) {
    args.insert(args.begin(), "render");
    ASSERT_EQ(Run(args), kExitCompleted) << out.str();
    const std::string& name = args[2];
    archive::MemberRecord record;
    for (const auto& r : archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records)
      if (archive::ComparableName(r.Name) == name) record = r;
    const std::string archiveName = args[1] == "shp" ? "SHP.PFP" : "TIL.PFP";
    const auto view =
        graphics::SpriteView::Open({data / archiveName, name, record.Offset, record.Length});
    const auto decoded = view.Value()->Decode(frame, palette == "DAY");
    const graphics::PixelBuffer& pixels = decoded.Value().Pixels;
    EXPECT_EQ(OutLines(),
              Lines{"Sub-image " + std::to_string(frame) + " of " + name + " (" +
                    std::to_string(pixels.Width) + " x " + std::to_string(pixels.Height) +
                    " pixels, palette " + palette + ", zoom " + std::to_string(zoom) +
                    ") has been written to " + png + "."});
    const ReadPng read = ReadBack(testing::ReadFile(png));
    ASSERT_EQ(read.Header.width, static_cast<std::uint32_t>(pixels.Width * zoom));
    ASSERT_EQ(read.Header.height, static_cast<std::uint32_t>(pixels.Height * zoom));
    EXPECT_EQ(read.Header.color_type, SPNG_COLOR_TYPE_INDEXED);
    EXPECT_EQ(read.Header.bit_depth, 8);
    EXPECT_FALSE(read.Transparency);
    ASSERT_EQ(read.Palette.n_entries, 256u);
    const graphics::Palette colours =
        graphics::ParsePalette(testing::ReadFile(program / (palette + ".RGB")));
    for (std::size_t i = 0; i < 256; ++i) {
      const spng_plte_entry& entry = read.Palette.entries[i];
      graphics::PaletteEntry expected = colours[i];
      expected.Spare = 0;
      if (palette == "DAY" && i == 213) expected = {225, 225, 255, 0};  // light pink
      EXPECT_EQ((graphics::PaletteEntry{entry.blue, entry.green, entry.red, 0}), expected) << i;
    }
    std::size_t wrong = 0;
    for (std::uint32_t y = 0; y < read.Header.height; ++y) {
      for (std::uint32_t x = 0; x < read.Header.width; ++x) {
        wrong += read.Indices[y * read.Header.width + x] !=
                 pixels.At(static_cast<std::int32_t>(x) / zoom,
                           pixels.Height - 1 - static_cast<std::int32_t>(y) / zoom);
      }
    }
    EXPECT_EQ(wrong, 0u) << name;
  }
}

// Each row: the arguments after "render", then the lines printed; none writes a file.
TEST_F(CliFixture, RenderRefusesWhatItCannotShowAndWritesNothing) {
  testing::TempFolder pictures;
  const std::string png = pictures / "shown.png";
  // The internal palettes are made first; until then the command says how.
  EXPECT_EQ(Run({"palettes"}), kExitRefused);
  const Lines missing = OutLines();
  EXPECT_EQ(Run({"render", "shp", "UNITICON", "--png", png}), kExitRefused);
  EXPECT_EQ(OutLines(), missing);
  ASSERT_EQ(Run({"extract", "pal", "--all"}), kExitCompleted);
  const std::pair<Lines, Lines> rows[] = {
      {{"shp", "uniticon", "--png", png},
       {"SHP.PFP has no member named uniticon. Nothing has been rendered."}},
      {{"til", "T_CLR_DD", "--frame", "40", "--png", png},
       {"T_CLR_DD has 40 sub-images: sub-image 40 does not exist.", "Nothing has been rendered."}},
      {{"shp", "UNITICON", "--palette", "DAYS", "--png", png},
       {"There is no palette named DAYS; the palettes are DAY, MAIN, MENU2, TURN01U, TURN02U, "
        "TURN03U, TURN04U, TURN05U, TURN06U, TURN01J, TURN02J, TURN03J, TURN04J, TURN05J, "
        "TURN06J. Nothing has been rendered."}},
      {{"shp", "UNITICON", "--png", pictures / "none/shown.png"},
       {"The file " + pictures / "none/shown.png" +
        " cannot be written: its folder does not exist."}}};
  for (auto [args, lines] : rows) {
    args.insert(args.begin(), "render");
    EXPECT_EQ(Run(args), kExitRefused) << args[2];
    EXPECT_EQ(OutLines(), lines);
  }
  EXPECT_TRUE(testing::SnapshotFolder(pictures.Path()).empty());
}

}  // namespace
}  // namespace zorvane::cli
