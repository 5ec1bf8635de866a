#include "graphics/sprite_decoder.h"

#include <algorithm>
#include <cstring>

namespace zorvane::graphics {

namespace {

// The pixel stream, followed by as many zero bytes as are asked for. It is taken piece by piece
// as the stream hands it out; only a step from one piece to the next leaves the fast path.
class StreamCursor {
 public:
  explicit StreamCursor(const ShpPixelStream& stream) : stream_(stream) { Load(0); }

  std::uint8_t Next() {
    if (next_ < end_) [[likely]]
      return *next_++;
    return NextOfNextPiece();
  }
  // The next n bytes when all of them are in the current piece (and steps over them), else
  // nullptr.
  const std::uint8_t* Take(std::size_t n) {
    if (static_cast<std::size_t>(end_ - next_) < n) return nullptr;
    const std::uint8_t* taken = next_;
    next_ += n;
    return taken;
  }
  void Skip(std::size_t n) {
    if (Take(n) != nullptr) return;
    for (std::size_t i = 0; i < n && !Ended(); ++i) Next();
  }
  // Whether a read went past the end of the stream.
  bool Ended() const { return begin_ == end_; }
  // The bytes of the stream read so far.
  std::uint64_t Consumed() const { return position_ + static_cast<std::uint64_t>(next_ - begin_); }

 private:
  void Load(std::uint64_t position) {
    const auto piece = stream_.From(position);
    position_ = position;
    begin_ = next_ = piece.data();
    end_ = piece.data() + piece.size();
  }

  std::uint8_t NextOfNextPiece() {
    Load(position_ + static_cast<std::uint64_t>(end_ - begin_));
    return next_ < end_ ? *next_++ : 0;
  }

  const ShpPixelStream& stream_;
  std::uint64_t position_ = 0;  // of begin_ in the stream
  const std::uint8_t* begin_ = nullptr;
  const std::uint8_t* next_ = nullptr;
  const std::uint8_t* end_ = nullptr;
};

// One coded row: `x` is the current column, which may run far past the right edge.
class RowWriter {
 public:
  RowWriter(std::uint8_t* row, std::int64_t width, std::int64_t start, bool useTransparency)
      : row_(row), width_(width), substitute_(useTransparency), x_(start) {}

  void Skip(std::int64_t n) { x_ += n; }

  void Run(std::uint8_t colour, std::int64_t n) {
    if (x_ < width_) std::memset(row_ + x_, Colour(colour), std::min(n, width_ - x_));
    x_ += n;
  }

  void Literal(StreamCursor& stream, std::int64_t n) {
    if (const std::uint8_t* colours = stream.Take(static_cast<std::size_t>(n))) {
      const std::int64_t inside = std::clamp<std::int64_t>(width_ - x_, 0, n);
      if (inside > 0) {
        std::uint8_t* out = row_ + x_;  // only formed inside the row
        if (substitute_) {
          for (std::int64_t i = 0; i < inside; ++i) out[i] = Colour(colours[i]);
        } else {
          std::memcpy(out, colours, static_cast<std::size_t>(inside));
        }
      }
      x_ += n;
      return;
    }
    for (std::int64_t i = 0; i < n; ++i) {
      const std::uint8_t colour = stream.Next();
      if (x_ < width_) row_[x_] = Colour(colour);
      ++x_;
    }
  }

 private:
  std::uint8_t Colour(std::uint8_t c) const {
    return substitute_ && c == kTransparentIndex ? kTransparentSubstitute : c;
  }

  std::uint8_t* row_;
  std::int64_t width_;
  bool substitute_;
  std::int64_t x_;
};

// Decodes one row up to its end code.
void DecodeRow(StreamCursor& stream, RowWriter& row) {
  for (;;) {
    const std::uint8_t code = stream.Next();
    if (code == 0) return;
    if (code == 1) {
      row.Skip(stream.Next());
    } else if (code % 2 == 0) {
      row.Run(stream.Next(), code / 2);
    } else {
      row.Literal(stream, (code - 1) / 2);
    }
  }
}

}  // namespace

std::uint64_t CodedLength(const ShpSubImage& image) {
  if (!image.HeaderValid) return 0;
  StreamCursor stream(image.Stream);
  for (std::int64_t r = image.Header.YStart; r <= image.Header.YEnd && !stream.Ended(); ++r) {
    for (std::uint8_t code = stream.Next(); code != 0; code = stream.Next()) {
      if (code == 1 || code % 2 == 0) {
        stream.Next();
      } else {
        stream.Skip((code - 1) / 2);
      }
    }
  }
  return stream.Consumed();
}

void DecodeShpImage(const ShpSubImage& image, bool useTransparency, PixelBuffer& pixels) {
  const ShpImageHeader& h = image.Header;
  const std::int32_t width = h.MaxColumn + 1;
  const std::int32_t height = h.MaxRow + 1;
  ResetPixelBuffer(pixels, width, height, useTransparency ? kTransparentIndex : 0);
  if (!image.HeaderValid) return;

  StreamCursor stream(image.Stream);
  // Rows below the bottom of the picture are decoded only to be dropped: nothing after them
  // can show, so decoding stops at the bottom row.
  const std::int64_t lastRow = std::min<std::int64_t>(h.YEnd, h.MaxRow);
  for (std::int64_t r = h.YStart; r <= lastRow; ++r) {
    RowWriter row(pixels.Row(static_cast<std::int32_t>(h.MaxRow - r)), width, h.XStart,
                  useTransparency);
    DecodeRow(stream, row);
  }
}

}  // namespace zorvane::graphics
