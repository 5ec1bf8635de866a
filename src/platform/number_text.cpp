#include "platform/number_text.h"

#include <cctype>

namespace zorvane::platform {

std::string SignedNumberText(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return value < 0 ? digits : " " + digits;
}

std::string RightAligned(std::string_view text, std::size_t width) {
  std::string result;
  if (text.size() < width) result.assign(width - text.size(), ' ');
  result += text;
  return result;
}

std::string LeftAligned(std::string_view text, std::size_t width) {
  std::string result(text);
  if (result.size() < width) result.append(width - result.size(), ' ');
  return result;
}

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiUpper(c);
  return result;
}

}  // namespace zorvane::platform
