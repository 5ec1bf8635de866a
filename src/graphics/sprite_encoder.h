#pragma once

#include <cstdint>
#include <vector>

#include "graphics/picture_state.h"
#include "graphics/sprite_format.h"

// Codes one picture as a sub-image of a sprite file, exactly as the decoder reads it back.
namespace zorvane::graphics {

// One coded picture: its header (picture size and coded box, or the empty-picture marker) and
// its pixel stream. The stream's buffer is kept from one picture to the next.
struct EncodedImage {
  ShpImageHeader Header;
  // With transparency, a picture whose every pixel is index 213: its box is the empty-picture
  // marker and its stream is empty.
  bool Empty = false;
  // ImageStream[0, StreamLength) is the stream; the buffer is grown to the need of each
  // picture and never shrunk.
  std::vector<std::uint8_t> ImageStream;
  std::size_t StreamLength = 0;
};

// Codes `pixels` (width and height 1 to 32768, row 0 the bottom row). With `useTransparency`
// index 213 is transparent: the box shrinks to the visible pixels, gaps become skips, and no
// run or literal holds 213; without it 213 is an ordinary colour and the box is the whole
// picture. Every coded row starts at XStart and ends with code 0; rows outside the box give no
// byte, gaps at the right end of a row are left to the end code. A run of two is coded only
// where a visible stretch begins, three equal pixels end a literal, and the last two pixels
// of a row reached inside a literal stay literal.
void EncodeShpImage(const PixelBuffer& pixels, bool useTransparency, EncodedImage& image);

// Appends the 24-byte header (MaxRow, MaxColumn, Reserved 0, the box or the empty marker) and
// the stream to `packBuffer`.
void StoreShpImage(const EncodedImage& image, std::vector<std::uint8_t>& packBuffer);

// The emitters write at `out`, which has room for what they write, and return the new end.
// A gap of n transparent pixels: 1, 255 while more than 255 are left, then 1, n (nothing
// for n <= 0).
std::uint8_t* EmitSkip(std::uint8_t* out, std::int64_t n);
// n pixels of `colour` (n >= 1): 254, colour while more than 127 are left, then 2n, colour.
std::uint8_t* EmitRun(std::uint8_t* out, std::int64_t n, std::uint8_t colour);
// n pixels in order (n >= 1): 255 and 127 pixels while more than 127 are left, then 2n + 1
// and the rest.
std::uint8_t* EmitLiteral(std::uint8_t* out, const std::uint8_t* pixels, std::int64_t n);

// The most bytes that one row of `width` pixels codes into, end code included.
std::size_t MaxRowStreamBytes(std::int64_t width);

}  // namespace zorvane::graphics
