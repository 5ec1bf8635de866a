#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorvane::platform {

inline constexpr std::string_view kLineEnd = "\r\n";

// Reads text lines one after another: a line ends at CR LF or at a lone CR; a lone LF stays
// inside its line. The last line needs no line end; text that ends in a line end has no empty
// line after it.
class TextLineReader {
 public:
  explicit TextLineReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return position_ >= text_.size(); }
  // The next line without its line end; only call while !AtEnd().
  std::string_view Next();
  // How many bytes of the text have been consumed, line ends included.
  std::size_t Position() const { return position_; }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

std::vector<std::string> SplitTextLines(std::string_view text);

// Joins pieces with CR LF between them (not after the last one): the form of every
// multi-line message.
std::string JoinLines(const std::vector<std::string>& pieces,
                      std::string_view separator = kLineEnd);

// Writes each line followed by CR LF.
std::string TextFileContent(const std::vector<std::string>& lines);

}  // namespace zorvane::platform
