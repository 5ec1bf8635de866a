#pragma once

#include "graphics/picture_state.h"
#include "graphics/sprite_format.h"

namespace zorvane::graphics {

// Makes `pixels` the picture of a sub-image (width MaxColumn + 1, height MaxRow + 1, both at
// least 1) and decodes its pixel stream into it, bottom row first.
//
// Only the coded box is coded: rows YStart to YEnd from the top, each from column XStart, ended
// by code 0; code 1 n skips n transparent pixels; an even code 2n and a colour is a run of n
// pixels; an odd code 2n + 1 is followed by n colours. Whatever is not coded is transparent.
// Pixels right of the picture or below its bottom row are dropped; bytes past the end of the
// stream read as 0. With `useTransparency` a transparent pixel is index 213 and a coded 213
// becomes 206; without it a transparent pixel stays 0. A sub-image whose header failed the
// bounds test is entirely transparent. Pad bytes are 0.
void DecodeShpImage(const ShpSubImage& image, bool useTransparency, PixelBuffer& pixels);

// The bytes the rows of the coded box take in the pixel stream, every row to its end code,
// rows below the picture included; counted up to the end of the file at most. 0 for a header
// that failed the bounds test.
std::uint64_t CodedLength(const ShpSubImage& image);

}  // namespace zorvane::graphics
