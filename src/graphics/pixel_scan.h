#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// Scans along one row of pixels eight at a time: the encoder looks at every pixel of every
// picture, and a byte at a time most of its time went into mispredicted branches.
namespace zorvane::graphics {

namespace pixel_scan_detail {

inline constexpr bool kWordScan = std::endian::native == std::endian::little;
inline constexpr std::uint64_t kOnes = 0x0101010101010101u;
inline constexpr std::uint64_t kHighs = 0x8080808080808080u;

inline std::uint64_t Load8(const std::uint8_t* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The high bit of the lowest zero byte of `word` is set, and no bit below it; bits above it
// may be set too.
inline std::uint64_t LowestZeroByte(std::uint64_t word) {
  return (word - kOnes) & ~word & kHighs;
}

inline std::int64_t ByteIndex(std::uint64_t flags) {
  return std::countr_zero(flags) / 8;
}

}  // namespace pixel_scan_detail

// The first column in [x, end) whose pixel differs from `colour`; `end` when there is none.
inline std::int64_t FirstOtherThan(const std::uint8_t* row, std::int64_t x, std::int64_t end,
                                   std::uint8_t colour) {
  using namespace pixel_scan_detail;
  if constexpr (kWordScan) {
    const std::uint64_t spread = kOnes * colour;
    for (; x + 8 <= end; x += 8) {
      if (const std::uint64_t differ = Load8(row + x) ^ spread) return x + ByteIndex(differ);
    }
  }
  while (x < end && row[x] == colour) ++x;
  return x;
}

// The first column in [x, end) at which three equal pixels begin or, with `kTransparency`, a
// pixel of `transparent` stands; `end` when there is none (x when x >= end). The row must
// hold two pixels past `end`.
template <bool kTransparency>
std::int64_t FirstLiteralStop(const std::uint8_t* row, std::int64_t x, std::int64_t end,
                              std::uint8_t transparent) {
  using namespace pixel_scan_detail;
  if constexpr (kWordScan) {
    const std::uint64_t spread = kOnes * transparent;
    for (; x + 8 <= end; x += 8) {
      const std::uint64_t first = Load8(row + x);
      const std::uint64_t second = Load8(row + x + 1);
      const std::uint64_t third = Load8(row + x + 2);
      std::uint64_t stops = LowestZeroByte((first ^ second) | (second ^ third));
      if constexpr (kTransparency) stops |= LowestZeroByte(first ^ spread);
      if (stops != 0) return x + ByteIndex(stops);
    }
  }
  for (; x < end; ++x) {
    if (row[x] == row[x + 1] && row[x + 1] == row[x + 2]) break;
    if (kTransparency && row[x] == transparent) break;
  }
  return x;
}

}  // namespace zorvane::graphics
