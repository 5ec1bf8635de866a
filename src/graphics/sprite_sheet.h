#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/picture_state.h"
#include "platform/result.h"

// A sprite sheet: every sub-image of a sprite file in one picture, in a grid of equal cells
// (as wide as the widest sub-image, as high as the highest), row by row from the top left;
// a text chunk of its PNG lists the frames.
namespace zorvane::graphics {

// A frame of the sheet, in pixels from its top left corner.
struct SheetFrame {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool operator==(const SheetFrame&) const = default;
};

struct SheetLayout {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::vector<SheetFrame> Frames;
};

// The most pixels a sheet may have, written or read (a quarter of a gigabyte of indices).
inline constexpr std::uint64_t kMostSheetPixels = std::uint64_t{1} << 28;

// The keyword of the PNG text chunk that lists the frames.
inline constexpr std::string_view kSheetFramesKeyword = "Zorvane frames";

// The grid for sub-images of these sizes (at least one): as many columns as the square root of
// their count, rounded up. Nothing (Width 0) when it would have more than kMostSheetPixels.
SheetLayout LayOutSheet(const std::vector<std::pair<std::int32_t, std::int32_t>>& sizes);

// The chunk's text: "frames N", then a line "X Y WIDTH HEIGHT" for each frame, LF after each.
std::string SheetFramesText(const SheetLayout& layout);

// The frames of a chunk's text in a sheet of width x height pixels. Refused, with the reason
// as a sentence, when the text is not such a list or a frame does not lie inside the sheet or
// is larger than a sub-image can be.
platform::Result<std::vector<SheetFrame>> ParseSheetFrames(std::string_view text,
                                                           std::int32_t width, std::int32_t height);

// Copies `picture` (row 0 its bottom row) into `sheet` (row 0 the sheet's bottom row) at the
// frame's place.
void PlaceInSheet(const PixelBuffer& picture, const SheetFrame& frame, PixelBuffer& sheet);

}  // namespace zorvane::graphics
