#include "graphics/png_reader.h"

#include <spng.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

namespace zorvane::graphics {

namespace {

struct DecoderDeleter {
  void operator()(spng_ctx* decoder) const { spng_ctx_free(decoder); }
};

// Deflate never makes more than 1032 bytes of one; the allowance covers the few bytes of a
// tiny picture's stream.
constexpr std::uint64_t kDeflateRatio = 1032;
constexpr std::uint64_t kRatioAllowance = 1024;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 28;
// What libspng may keep of the chunks beside the picture (texts, profiles), inflated.
constexpr std::size_t kChunkCacheLimit = std::size_t{64} << 20;

platform::Status Unreadable(int error) {
  if (error == SPNG_EMEM) throw std::bad_alloc();
  return platform::Status::Failure(std::string("it is not a PNG file that can be read (") +
                                   spng_strerror(error) + ").");
}

std::uint64_t SamplesPerPixel(std::uint8_t colourType) {
  switch (colourType) {
    case SPNG_COLOR_TYPE_TRUECOLOR:
      return 3;
    case SPNG_COLOR_TYPE_GRAYSCALE_ALPHA:
      return 2;
    case SPNG_COLOR_TYPE_TRUECOLOR_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// The bytes the image data inflates to (each row with its filter byte, as without
// interlacing, which only adds to it).
std::uint64_t InflatedBytes(const spng_ihdr& header) {
  const std::uint64_t rowBits =
      std::uint64_t{header.width} * SamplesPerPixel(header.color_type) * header.bit_depth;
  return std::uint64_t{header.height} * (1 + (rowBits + 7) / 8);
}

bool IsTheExpectedPalette(const spng_plte& plte, const Palette& expected) {
  if (plte.n_entries != kPaletteEntries) return false;
  for (std::size_t i = 0; i < kPaletteEntries; ++i) {
    const spng_plte_entry& entry = plte.entries[i];
    if (entry.red != expected[i].Red || entry.green != expected[i].Green ||
        entry.blue != expected[i].Blue) {
      return false;
    }
  }
  return true;
}

// Every text chunk libspng kept, tEXt, zTXt (paint programs compress long texts) and iTXt; a
// damaged chunk after the picture refuses the file.
platform::Status ReadTexts(spng_ctx* decoder, std::vector<PngText>& texts) {
  std::uint32_t count = 0;
  int error = spng_get_text(decoder, nullptr, &count);
  if (error == SPNG_ECHUNKAVAIL) return platform::Status::Success();
  if (error != 0) return Unreadable(error);
  std::vector<spng_text> chunks(count);
  if (error = spng_get_text(decoder, chunks.data(), &count); error != 0) return Unreadable(error);
  for (const spng_text& chunk : chunks) {
    texts.push_back({std::string(chunk.keyword, strnlen(chunk.keyword, sizeof chunk.keyword)),
                     std::string(chunk.text, chunk.length)});
  }
  return platform::Status::Success();
}

std::string SizeText(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// The 256 colours of a palette in a small open-addressed hash table (a quarter full, so a
// lookup mostly reads one slot); a colour that several entries share keeps its first two
// indices.
class ColourTable {
 public:
  static constexpr int kNone = -1;
  struct Found {
    int First = kNone;
    int Second = kNone;  // set when the colour is shared
  };

  explicit ColourTable(const Palette& palette) {
    keys_.fill(kEmpty);
    for (std::size_t i = 0; i < kPaletteEntries; ++i) {
      const std::size_t at = Slot(Rgb(palette[i].Red, palette[i].Green, palette[i].Blue));
      if (keys_[at] == kEmpty) {
        keys_[at] = Rgb(palette[i].Red, palette[i].Green, palette[i].Blue);
        found_[at].First = static_cast<int>(i);
      } else if (found_[at].Second == kNone) {
        found_[at].Second = static_cast<int>(i);
      }
    }
  }

  static std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
  }

  Found Find(std::uint32_t rgb) const {
    const std::size_t at = Slot(rgb);
    return keys_[at] == rgb ? found_[at] : Found{};
  }

 private:
  static constexpr std::size_t kSlots = 1024;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no colour has it: colours have 24 bits

  // The slot that holds `rgb`, or the empty slot where it would go.
  std::size_t Slot(std::uint32_t rgb) const {
    std::size_t at = (rgb * 0x9E3779B1u) >> 22;
    while (keys_[at] != kEmpty && keys_[at] != rgb) at = (at + 1) % kSlots;
    return at;
  }

  std::array<std::uint32_t, kSlots> keys_{};
  std::array<Found, kSlots> found_{};
};

// The first pixel of each different offence, in reading order, up to three.
class Offences {
 public:
  static constexpr std::size_t kMaxNamed = 3;

  bool Full() const { return count_ == kMaxNamed; }
  bool Empty() const { return count_ == 0; }

  // `key` tells offences apart: two pixels with the same key get the same sentence but for
  // their places.
  void Add(std::uint32_t key, std::int32_t x, std::int32_t y, const std::string& what) {
    for (std::size_t i = 0; i < count_; ++i) {
      if (keys_[i] == key) return;
    }
    keys_[count_++] = key;
    if (!text_.empty()) text_ += ' ';
    text_ += "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") " + what;
  }

  const std::string& Text() const { return text_; }

 private:
  std::array<std::uint32_t, kMaxNamed> keys_{};
  std::size_t count_ = 0;
  std::string text_;
};

std::string Offence(std::uint32_t rgba, const ColourTable::Found& found,
                    const PngMapping& mapping) {
  const std::uint32_t alpha = rgba & 0xFF;
  const std::string name(mapping.PaletteName);
  if (alpha == 0) return "is transparent, which the " + name + " palette's pictures cannot be.";
  if (alpha != 0xFF) return "is partly transparent (alpha " + std::to_string(alpha) + ").";
  const std::string colour = "has the colour " + std::to_string(rgba >> 24) + ", " +
                             std::to_string(rgba >> 16 & 0xFF) + ", " +
                             std::to_string(rgba >> 8 & 0xFF) + ", which ";
  if (found.First == ColourTable::kNone) return colour + "is not in the " + name + " palette.";
  return colour + "the " + name + " palette has at indices " + std::to_string(found.First) +
         " and " + std::to_string(found.Second) + ".";
}

platform::Status MapColours(const PngImage& image, const PngRegion& region,
                            const PngMapping& mapping, PixelBuffer& pixels) {
  const ColourTable table(mapping.Colours);
  Offences offences;
  constexpr int kOffending = -1;
  // Pictures come in runs of one colour: the last colour's outcome serves the whole run.
  std::optional<std::uint32_t> last;
  int lastIndex = kOffending;
  for (std::int32_t row = 0; row < region.Height && !offences.Full(); ++row) {
    const std::int32_t y = region.Y + row;
    const std::uint8_t* source =
        image.Pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width) +
                               static_cast<std::size_t>(region.X)) *
                                  4;
    std::uint8_t* target = pixels.Row(region.Height - 1 - row);
    for (std::int32_t column = 0; column < region.Width; ++column, source += 4) {
      const std::uint32_t rgba = std::uint32_t{source[0]} << 24 | std::uint32_t{source[1]} << 16 |
                                 std::uint32_t{source[2]} << 8 | source[3];
      if (rgba != last) {
        last = rgba;
        const std::uint32_t alpha = rgba & 0xFF;
        ColourTable::Found found;
        std::uint32_t key = rgba;
        if (alpha == 0 && mapping.UseTransparency) {
          found.First = kTransparentIndex;
        } else if (alpha == 0xFF) {
          found = table.Find(rgba >> 8);
        } else {
          key = alpha;  // refused for its alpha, whatever its colour
        }
        lastIndex = found.Second == ColourTable::kNone ? found.First : kOffending;
        if (lastIndex == kOffending) {
          offences.Add(key, region.X + column, y, Offence(rgba, found, mapping));
          if (offences.Full()) break;
        }
      }
      if (lastIndex != kOffending) target[column] = static_cast<std::uint8_t>(lastIndex);
    }
  }
  if (!offences.Empty()) return platform::Status::Failure(offences.Text());
  return platform::Status::Success();
}

}  // namespace

platform::Result<PngImage> DecodePng(std::span<const std::uint8_t> file, const Palette& expected) {
  const std::unique_ptr<spng_ctx, DecoderDeleter> decoder(spng_ctx_new(0));
  if (!decoder) throw std::bad_alloc();
  spng_ctx* d = decoder.get();
  for (const int error : {spng_set_crc_action(d, SPNG_CRC_ERROR, SPNG_CRC_DISCARD),
                          spng_set_chunk_limits(d, kChunkCacheLimit, kChunkCacheLimit),
                          spng_set_png_buffer(d, file.data(), file.size())}) {
    if (error != 0) return Unreadable(error);
  }
  spng_ihdr header{};
  if (const int error = spng_get_ihdr(d, &header); error != 0) return Unreadable(error);
  if (header.bit_depth == 16) {
    return platform::Status::Failure("its samples have 16 bits; save it with 8 bits per sample.");
  }
  const std::uint64_t pixelCount = std::uint64_t{header.width} * header.height;
  const std::uint64_t inflated = InflatedBytes(header);
  if (pixelCount > kMaxPixels ||
      (inflated > kRatioAllowance &&
       (inflated - kRatioAllowance + kDeflateRatio - 1) / kDeflateRatio > file.size())) {
    return platform::Status::Failure("it is too large: " + SizeText(header.width, header.height) +
                                     " pixels.");
  }

  PngImage image;
  image.Width = static_cast<std::int32_t>(header.width);
  image.Height = static_cast<std::int32_t>(header.height);
  if (header.color_type == SPNG_COLOR_TYPE_INDEXED && header.bit_depth == 8) {
    spng_plte plte{};
    if (const int error = spng_get_plte(d, &plte); error != 0) return Unreadable(error);
    image.GamePalette = IsTheExpectedPalette(plte, expected);
  }
  const int format = image.GamePalette ? SPNG_FMT_PNG : SPNG_FMT_RGBA8;
  const std::size_t bytes = static_cast<std::size_t>(pixelCount) * (image.GamePalette ? 1 : 4);
  image.Pixels.resize(bytes);
  if (const int error = spng_decode_image(d, image.Pixels.data(), bytes, format,
                                          image.GamePalette ? 0 : SPNG_DECODE_TRNS);
      error != 0) {
    return Unreadable(error);
  }
  if (auto texts = ReadTexts(d, image.Texts); !texts) return texts;
  return image;
}

platform::Status MapPngRegion(const PngImage& image, const PngRegion& region,
                              const PngMapping& mapping, PixelBuffer& pixels) {
  const std::int64_t pixelCount = std::int64_t{image.Width} * image.Height;
  if (image.Width < 0 || image.Height < 0 ||
      image.Pixels.size() != static_cast<std::uint64_t>(pixelCount) * (image.GamePalette ? 1 : 4)) {
    return platform::Status::Failure("the pixels of the picture of " +
                                     SizeText(image.Width, image.Height) +
                                     " pixels are incomplete.");
  }
  if (region.X < 0 || region.Y < 0 || region.Width < 0 || region.Height < 0 ||
      std::int64_t{region.X} + region.Width > image.Width ||
      std::int64_t{region.Y} + region.Height > image.Height) {
    return platform::Status::Failure(
        "the region (" + std::to_string(region.X) + ", " + std::to_string(region.Y) + ") " +
        SizeText(region.Width, region.Height) + " does not lie inside the picture of " +
        SizeText(image.Width, image.Height) + " pixels.");
  }
  ResetPixelBuffer(pixels, region.Width, region.Height);
  if (region.Width == 0 || region.Height == 0) return platform::Status::Success();
  if (!image.GamePalette) return MapColours(image, region, mapping, pixels);
  for (std::int32_t row = 0; row < region.Height; ++row) {
    const std::size_t from =
        static_cast<std::size_t>(region.Y + row) * static_cast<std::size_t>(image.Width) +
        static_cast<std::size_t>(region.X);
    std::memcpy(pixels.Row(region.Height - 1 - row), image.Pixels.data() + from,
                static_cast<std::size_t>(region.Width));
  }
  return platform::Status::Success();
}

}  // namespace zorvane::graphics
