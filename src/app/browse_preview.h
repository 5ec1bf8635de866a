#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "graphics/member_view.h"

// What the Browse window's preview says in words beside a picture, and its views of bytes.
namespace zorvane::app {

// The hex view shows this many of a member's first bytes.
inline constexpr std::size_t kHexViewBytes = 4096;
// A text member is shown up to this many bytes.
inline constexpr std::size_t kTextViewBytes = 1 << 20;

// Lines of 16 bytes: the offset in 8 hex digits, two spaces, the bytes in hex separated by
// spaces, two spaces, the bytes as characters ('.' for any outside 32 to 126). Lines end in LF.
std::string HexDump(std::span<const std::uint8_t> bytes);

// A text member as lines ending in LF: CR LF and a lone CR end a line, as in every text file
// of the game; bytes are Latin-1.
std::string TextOfMember(std::span<const std::uint8_t> bytes);

// The lines beside a sub-image: "Size: 64 x 48", "Box: 3, 0, 60, 47" (XStart, YStart, XEnd,
// YEnd), "Coded length: 1234 bytes", and "Not valid: the box lies outside the picture, so it
// is shown transparent." when the header fails the bounds test. Lines end in LF.
std::string SubImageDescription(const graphics::ShownSubImage& image);

}  // namespace zorvane::app
