#include "platform/text_lines.h"

namespace zorvane::platform {

std::string_view TextLineReader::Next() {
  const std::size_t start = position_;
  const std::size_t cr = text_.find('\r', start);
  if (cr == std::string_view::npos) {
    position_ = text_.size();
    return text_.substr(start);
  }
  position_ = cr + 1;
  if (position_ < text_.size() && text_[position_] == '\n') ++position_;
  return text_.substr(start, cr - start);
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  TextLineReader reader(text);
  while (!reader.AtEnd()) lines.emplace_back(reader.Next());
  return lines;
}

std::string JoinLines(const std::vector<std::string>& pieces, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += separator;
    joined += pieces[i];
  }
  return joined;
}

std::string TextFileContent(const std::vector<std::string>& lines) {
  std::string content;
  for (const auto& line : lines) {
    content += line;
    content += kLineEnd;
  }
  return content;
}

}  // namespace zorvane::platform
