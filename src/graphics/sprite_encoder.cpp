#include "graphics/sprite_encoder.h"

#include <algorithm>
#include <cstring>

#include "graphics/palette.h"
#include "graphics/pixel_scan.h"
#include "platform/little_endian.h"

namespace zorvane::graphics {

namespace {

constexpr std::int64_t kMaxSkip = 255;
constexpr std::int64_t kMaxRunOrLiteral = 127;

struct Box {
  std::int32_t XStart = 0;
  std::int32_t YStart = 0;
  std::int32_t XEnd = 0;
  std::int32_t YEnd = 0;
  bool Visible = false;
};

// The smallest box, rows counted from the top, that holds every pixel other than 213.
Box VisibleBox(const PixelBuffer& pixels) {
  const std::int32_t width = pixels.Width;
  Box box{width - 1, 0, 0, 0, false};
  for (std::int32_t r = 0; r < pixels.Height; ++r) {
    const std::uint8_t* row = pixels.Row(pixels.Height - 1 - r);
    const auto first = static_cast<std::int32_t>(FirstOtherThan(row, 0, width, kTransparentIndex));
    if (first == width) continue;
    std::int32_t last = width - 1;
    while (row[last] == kTransparentIndex) --last;
    box.XStart = std::min(box.XStart, first);
    box.XEnd = std::max(box.XEnd, last);
    if (!box.Visible) box.YStart = r;
    box.YEnd = r;
    box.Visible = true;
  }
  return box;
}

// Codes one row from column 0 (the part left of XStart is never coded), without its end code.
template <bool kUseTransparency>
std::uint8_t* EncodeRow(const std::uint8_t* p, std::int64_t width, std::int64_t xStart,
                        std::uint8_t* out) {
  const auto transparent = [p](std::int64_t x) {
    return kUseTransparency && p[x] == kTransparentIndex;
  };
  std::int64_t x = 0;
  while (x < width) {
    if (transparent(x)) {
      const std::int64_t start = x;
      x = FirstOtherThan(p, x, width, kTransparentIndex);
      if (x == width) break;  // the end code stands for a gap at the right end
      out = EmitSkip(out, start == 0 ? x - xStart : x - start);
      continue;
    }
    // A run: a single pixel is not one, it begins the literal string.
    std::int64_t start = x;
    const std::int64_t afterRun = FirstOtherThan(p, x + 1, width, p[x]);
    if (afterRun - start >= 2) {
      x = afterRun;
      out = EmitRun(out, x - start, p[start]);
    }
    // A literal string, up to three equal pixels or a transparent one; the last two pixels of
    // the row join it whatever they are, unless transparent.
    start = x;
    x = FirstLiteralStop<kUseTransparency>(p, x, width - 2, kTransparentIndex);
    if (x >= width - 2) {
      while (x < width && !transparent(x)) ++x;
    }
    if (x > start) out = EmitLiteral(out, p + start, x - start);
  }
  return out;
}

}  // namespace

std::size_t MaxRowStreamBytes(std::int64_t width) {
  // At worst every pixel takes two bytes (a single pixel between gaps of one), plus the end.
  return static_cast<std::size_t>(2 * width + 1);
}

std::uint8_t* EmitSkip(std::uint8_t* out, std::int64_t n) {
  if (n <= 0) return out;
  for (; n > kMaxSkip; n -= kMaxSkip) {
    *out++ = 1;
    *out++ = static_cast<std::uint8_t>(kMaxSkip);
  }
  *out++ = 1;
  *out++ = static_cast<std::uint8_t>(n);
  return out;
}

std::uint8_t* EmitRun(std::uint8_t* out, std::int64_t n, std::uint8_t colour) {
  for (; n > kMaxRunOrLiteral; n -= kMaxRunOrLiteral) {
    *out++ = static_cast<std::uint8_t>(2 * kMaxRunOrLiteral);
    *out++ = colour;
  }
  *out++ = static_cast<std::uint8_t>(2 * n);
  *out++ = colour;
  return out;
}

std::uint8_t* EmitLiteral(std::uint8_t* out, const std::uint8_t* pixels, std::int64_t n) {
  for (; n > kMaxRunOrLiteral; n -= kMaxRunOrLiteral) {
    *out++ = static_cast<std::uint8_t>(2 * kMaxRunOrLiteral + 1);
    std::memcpy(out, pixels, kMaxRunOrLiteral);
    out += kMaxRunOrLiteral;
    pixels += kMaxRunOrLiteral;
  }
  *out++ = static_cast<std::uint8_t>(2 * n + 1);
  std::memcpy(out, pixels, static_cast<std::size_t>(n));
  return out + n;
}

void EncodeShpImage(const PixelBuffer& pixels, bool useTransparency, EncodedImage& image) {
  const std::int32_t width = pixels.Width;
  const std::int32_t height = pixels.Height;
  const Box box = useTransparency ? VisibleBox(pixels) : Box{0, 0, width - 1, height - 1, true};
  ShpImageHeader& header = image.Header;
  header.MaxRow = static_cast<std::int16_t>(height - 1);
  header.MaxColumn = static_cast<std::int16_t>(width - 1);
  header.Reserved = 0;
  image.Empty = !box.Visible;
  header.XStart = image.Empty ? kEmptyMarkerStart : box.XStart;
  header.YStart = image.Empty ? kEmptyMarkerStart : box.YStart;
  header.XEnd = image.Empty ? kEmptyMarkerEnd : box.XEnd;
  header.YEnd = image.Empty ? kEmptyMarkerEnd : box.YEnd;
  image.StreamLength = 0;
  if (image.Empty) return;

  const std::size_t rowRoom = MaxRowStreamBytes(width);
  std::vector<std::uint8_t>& stream = image.ImageStream;
  for (std::int32_t r = box.YStart; r <= box.YEnd; ++r) {
    if (stream.size() < image.StreamLength + rowRoom) {
      stream.resize(std::max(stream.size() * 2, image.StreamLength + rowRoom));
    }
    std::uint8_t* const begin = stream.data() + image.StreamLength;
    const std::uint8_t* row = pixels.Row(height - 1 - r);
    std::uint8_t* out = useTransparency ? EncodeRow<true>(row, width, box.XStart, begin)
                                        : EncodeRow<false>(row, width, box.XStart, begin);
    *out++ = 0;
    image.StreamLength += static_cast<std::size_t>(out - begin);
  }
}

void StoreShpImage(const EncodedImage& image, std::vector<std::uint8_t>& packBuffer) {
  const ShpImageHeader& h = image.Header;
  std::uint8_t header[kShpImageHeaderSize];
  platform::WriteInt16(header, h.MaxRow);
  platform::WriteInt16(header + 2, h.MaxColumn);
  platform::WriteInt32(header + 4, 0);
  platform::WriteInt32(header + 8, h.XStart);
  platform::WriteInt32(header + 12, h.YStart);
  platform::WriteInt32(header + 16, h.XEnd);
  platform::WriteInt32(header + 20, h.YEnd);
  packBuffer.insert(packBuffer.end(), header, header + kShpImageHeaderSize);
  packBuffer.insert(packBuffer.end(), image.ImageStream.begin(),
                    image.ImageStream.begin() + static_cast<std::ptrdiff_t>(image.StreamLength));
}

}  // namespace zorvane::graphics
