#include "graphics/sprite_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "graphics/bmp_reader.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

// The most frames a list may name: as many as a sprite file converts.
constexpr std::int64_t kMostFrames = 100000;

// The numbers of one line, separated by single blanks.
std::vector<std::int64_t> NumbersOf(std::string_view line) {
  std::vector<std::int64_t> numbers;
  while (!line.empty()) {
    const std::size_t blank = std::min(line.find(' '), line.size());
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + blank, value);
    if (error != std::errc() || end != line.data() + blank || blank == 0) return {};
    numbers.push_back(value);
    line.remove_prefix(std::min(blank + 1, line.size()));
  }
  return numbers;
}

}  // namespace

SheetLayout LayOutSheet(const std::vector<std::pair<std::int32_t, std::int32_t>>& sizes) {
  std::int64_t cellWidth = 1;
  std::int64_t cellHeight = 1;
  for (const auto& [width, height] : sizes) {
    cellWidth = std::max<std::int64_t>(cellWidth, width);
    cellHeight = std::max<std::int64_t>(cellHeight, height);
  }
  const auto count = static_cast<std::int64_t>(sizes.size());
  auto columns = static_cast<std::int64_t>(std::ceil(std::sqrt(static_cast<double>(count))));
  columns = std::max<std::int64_t>(columns, 1);
  while (columns * columns < count) ++columns;
  const std::int64_t rows = std::max<std::int64_t>((count + columns - 1) / columns, 1);
  const std::int64_t width = columns * cellWidth;
  const std::int64_t height = rows * cellHeight;
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMostSheetPixels) {
    return {};
  }
  SheetLayout layout{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), {}};
  layout.Frames.reserve(sizes.size());
  for (std::int64_t i = 0; i < count; ++i) {
    const auto& [frameWidth, frameHeight] = sizes[static_cast<std::size_t>(i)];
    layout.Frames.push_back({static_cast<std::int32_t>(i % columns * cellWidth),
                             static_cast<std::int32_t>(i / columns * cellHeight), frameWidth,
                             frameHeight});
  }
  return layout;
}

std::string SheetFramesText(const SheetLayout& layout) {
  std::string text = "frames " + std::to_string(layout.Frames.size()) + "\n";
  for (const SheetFrame& frame : layout.Frames) {
    text += std::to_string(frame.X) + ' ' + std::to_string(frame.Y) + ' ' +
            std::to_string(frame.Width) + ' ' + std::to_string(frame.Height) + '\n';
  }
  return text;
}

platform::Result<std::vector<SheetFrame>> ParseSheetFrames(std::string_view text,
                                                           std::int32_t width,
                                                           std::int32_t height) {
  const auto unreadable = [] {
    return platform::Status::Failure("its list of frames cannot be read.");
  };
  constexpr std::string_view kCountWord = "frames ";
  const std::size_t firstEnd = text.find('\n');
  if (!text.starts_with(kCountWord) || firstEnd == std::string_view::npos) return unreadable();
  const auto count = NumbersOf(text.substr(kCountWord.size(), firstEnd - kCountWord.size()));
  if (count.size() != 1 || count[0] < 1 || count[0] > kMostFrames) return unreadable();
  std::vector<SheetFrame> frames;
  std::string_view rest = text.substr(firstEnd + 1);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return unreadable();
    const auto numbers = NumbersOf(rest.substr(0, end));
    rest.remove_prefix(end + 1);
    if (numbers.size() != 4 || static_cast<std::int64_t>(frames.size()) == count[0]) {
      return unreadable();
    }
    const std::int64_t x = numbers[0], y = numbers[1];
    const std::int64_t frameWidth = numbers[2], frameHeight = numbers[3];
    const bool fits = x >= 0 && y >= 0 && frameWidth >= 1 && frameHeight >= 1 &&
                      frameWidth <= kMaxPictureSide && frameHeight <= kMaxPictureSide &&
                      x + frameWidth <= width && y + frameHeight <= height;
    if (!fits) {
      return platform::Status::Failure(
          "frame " + std::to_string(frames.size()) + " (" + std::to_string(frameWidth) + " x " +
          std::to_string(frameHeight) + " pixels at " + std::to_string(x) + ", " +
          std::to_string(y) + ") does not lie inside the sheet of " + std::to_string(width) +
          " x " + std::to_string(height) + " pixels.");
    }
    const SheetFrame frame{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                           static_cast<std::int32_t>(frameWidth),
                           static_cast<std::int32_t>(frameHeight)};
    frames.push_back(frame);
  }
  if (static_cast<std::int64_t>(frames.size()) != count[0]) return unreadable();
  return frames;
}

void PlaceInSheet(const PixelBuffer& picture, const SheetFrame& frame, PixelBuffer& sheet) {
  const std::int32_t bottom = sheet.Height - frame.Y - frame.Height;
  for (std::int32_t y = 0; y < frame.Height; ++y) {
    std::memcpy(sheet.Row(bottom + y) + frame.X, picture.Row(y),
                static_cast<std::size_t>(frame.Width));
  }
}

}  // namespace zorvane::graphics
