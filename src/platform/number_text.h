#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvane::platform {

// A number in decimal with a sign position: one leading space for zero and positive values,
// a minus sign for negative ones (" 2", " 0", "-17").
std::string SignedNumberText(std::int64_t value);

// The text preceded by as many spaces as make `width` characters (unchanged when longer).
std::string RightAligned(std::string_view text, std::size_t width);

// The text followed by as many spaces as make `width` characters (unchanged when longer).
std::string LeftAligned(std::string_view text, std::size_t width);

// Trims spaces (only spaces) at both ends.
std::string_view TrimSpaces(std::string_view text);

// The ASCII letter in upper case; every other byte unchanged, whatever the locale (so that
// every comparison of names without regard to case agrees with every other).
inline char AsciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// ASCII letters in upper case; every other byte unchanged.
std::string UpperCase(std::string_view text);

}  // namespace zorvane::platform
