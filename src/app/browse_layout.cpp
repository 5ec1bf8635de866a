#include "app/browse_layout.h"

#include <charconv>

#include "app/session.h"
#include "app/settings.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
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

std::string WithBrowseLayout(std::string_view settings, const BrowseLayout& layout) {
  std::string text;
  bool placed = false;
  platform::TextLineReader lines(settings);
  for (bool first = true; !lines.AtEnd(); first = false) {
    const std::string_view line = lines.Next();
    if (line.starts_with(kBrowseLayoutKey)) {
      if (!placed) text += BrowseLayoutLine(layout);
      placed = true;
      continue;
    }
    text += std::string(line) + std::string(platform::kLineEnd);
    if (first && !placed) {
      text += BrowseLayoutLine(layout);
      placed = true;
    }
  }
  return placed ? text : text + BrowseLayoutLine(layout);
}

void SaveBrowseLayout(Session& session, const BrowseLayout& layout) {
  if (session.BrowseLayout == layout) return;
  session.BrowseLayout = layout;
  const std::string path = session.ProgramFolder + kSettingsFileName;
  // Without a settings file the next start asks for the DATA folder; a file holding only the
  // layout would stop it from asking.
  if (!platform::FileExists(path)) return;
  auto content = platform::ReadWholeFile(path);
  if (!content) {
    session.Ui.ShowMessage(platform::CannotReadMessage(path, content.Reason()));
    return;
  }
  const std::string old(content.Value().begin(), content.Value().end());
  if (auto written = ReplaceSettingsFile(path, WithBrowseLayout(old, layout), session.Ui);
      !written) {
    session.Ui.ShowMessage(written.Reason());
  }
}

}  // namespace zorvane::app
