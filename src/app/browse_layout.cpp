#include "app/browse_layout.h"

#include <charconv>

#include "app/session.h"
#include "app/settings.h"
#include "platform/number_text.h"
#include "platform/text_lines.h"

namespace zorvane::app {

namespace {

constexpr int kLargestSize = 100000;

std::optional<int> SizeFrom(std::string_view word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (value < 1 || value > kLargestSize) return std::nullopt;
  return value;
}

}  // namespace

std::optional<BrowseLayout> BrowseLayoutFromLine(std::string_view line) {
  if (!line.starts_with(kBrowseLayoutKey)) return std::nullopt;
  std::vector<int> sizes;
  std::string_view rest = line.substr(kBrowseLayoutKey.size());
  while (!rest.empty()) {
    const auto start = rest.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    rest.remove_prefix(start);
    const auto end = std::min(rest.find(' '), rest.size());
    const auto size = SizeFrom(rest.substr(0, end));
    if (!size) return std::nullopt;
    sizes.push_back(*size);
    rest.remove_prefix(end);
  }
  if (sizes.size() < 2) return std::nullopt;
  return BrowseLayout{sizes[0], sizes[1], std::vector<int>(sizes.begin() + 2, sizes.end())};
}

std::string BrowseLayoutLine(const BrowseLayout& layout) {
  std::string line(kBrowseLayoutKey);
  line += ' ' + std::to_string(layout.Width) + ' ' + std::to_string(layout.Height);
  for (const int size : layout.PaneSizes) line += ' ' + std::to_string(size);
  return line + std::string(platform::kLineEnd);
}

void SaveBrowseLayout(Session& session, const BrowseLayout& layout) {
  if (session.BrowseLayout == layout) return;
  session.BrowseLayout = layout;
  SaveSettingsLine(session, kBrowseLayoutKey, BrowseLayoutLine(layout));
}

}  // namespace zorvane::app
