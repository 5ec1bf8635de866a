#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/palette.h"
#include "graphics/picture_state.h"
#include "platform/result.h"

// Reads edited PNGs back (through libspng) and turns their pixels into palette indices for the
// game's sprite files: an indexed PNG with the expected palette in order gives its indices as
// they are; any other PNG is mapped back colour by colour, by exact match only.
namespace zorvane::graphics {

// A text chunk of a PNG (tEXt, zTXt or iTXt), its text uncompressed.
struct PngText {
  std::string Keyword;
  std::string Text;
};

// A PNG read whole: either the palette indices of an 8-bit indexed PNG whose palette is the
// expected one, or every pixel's colour.
struct PngImage {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // Set when the PNG is 8-bit indexed and its PLTE is the 256 entries of the expected palette
  // in order (Red, Green, Blue equal; Spare ignored): Pixels then holds one index per pixel.
  // Otherwise Pixels holds 4 bytes per pixel, red, green, blue, alpha (every colour type and
  // bit depth up to 8 expanded, tRNS applied).
  bool GamePalette = false;
  std::vector<std::uint8_t> Pixels;  // top row first, no padding
  std::vector<PngText> Texts;        // every text chunk, in file order
};

// Reads a PNG held in memory. Refused, with the reason as a sentence that ends in '.',
// lower-case start, naming no file (the caller puts the path in front): not a PNG or damaged
// (bad signature, bad CRC, truncated, bad zlib data...): "it is not a PNG file that can be read
// (<libspng's error text>)."; 16 bits per sample: "its samples have 16 bits; save it with 8 bits
// per sample."; a picture whose decoded size could not come from so few bytes (more than 1032
// decoded bytes per byte of the file, deflate's greatest ratio, plus a small allowance) or of
// more than 2^28 pixels: "it is too large: W x H pixels." — so that a tiny damaged file never
// makes a huge allocation. The chunks beside the picture may inflate to 64 MiB at most (a
// larger zTXt or iCCP makes the file unreadable, in libspng's words).
platform::Result<PngImage> DecodePng(std::span<const std::uint8_t> file, const Palette& expected);

// How colours become indices.
struct PngMapping {
  const Palette& Colours;        // the palette the pixels must come from
  std::string_view PaletteName;  // for messages: "DAY", "MAIN", ...
  bool UseTransparency = false;  // a pixel of alpha 0 becomes kTransparentIndex (213)
};

// A rectangle of the image, in pixels from its top left corner.
struct PngRegion {
  std::int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

// Turns `region` (inside the image) into `pixels`, region.Width x region.Height, row 0 the
// BOTTOM row of the region (as PixelBuffer has it for BMPs). With GamePalette the indices are
// copied as they are. Otherwise every pixel's colour is looked up by exact RGB among the 256
// entries of mapping.Colours; alpha 0 with UseTransparency gives 213 whatever its RGB; any
// other alpha below 255 is refused. Refusals name the first offending pixels by their place in
// the whole image (x from the left, y from the top), at most three, the first pixel of each of
// up to three different offences in reading order, as sentences joined by one space:
// "pixel (12, 7) has the colour 40, 40, 41, which is not in the DAY palette."
// "pixel (3, 0) has the colour 0, 0, 0, which the DAY palette has at indices 0 and 17." (a
//   colour that two or more entries share: the first two indices)
// "pixel (5, 5) is partly transparent (alpha 128)."
// "pixel (5, 5) is transparent, which the MAIN palette's pictures cannot be." (alpha 0 without
//   UseTransparency)
// Two pixels are the same offence when their messages differ only in the place: the same RGB
// (opaque), the same alpha (partly transparent), or both transparent.
// A region that does not lie inside the image is refused:
// "the region (X, Y) W x H does not lie inside the picture of W x H pixels.", and so is an image
// whose Pixels do not fit its sides: "the pixels of the picture of W x H pixels are incomplete."
// On a refusal `pixels` may have changed.
platform::Status MapPngRegion(const PngImage& image, const PngRegion& region,
                              const PngMapping& mapping, PixelBuffer& pixels);

}  // namespace zorvane::graphics
