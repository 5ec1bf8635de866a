#pragma once

#include <cstdint>
#include <string>

#include "graphics/picture_format.h"

namespace zorvane::graphics {

// What the last member extraction worked on, kept for the whole run.
struct ExtractionContext {
  // The member's name, NULs removed and spaces trimmed.
  std::string MemberName;
  // The folder of the extracted file and the folder of its BMPs; both end in the separator.
  std::string ExtractFolder;
  std::string BmpFolder;
  std::string MemberExtension;
  // The sub-image counter of the last conversion: the number of sub-images once it has ended.
  std::int32_t ImageIndex = 0;
  // Set when the last sub-image converted (or the sprite file as a whole) was rejected.
  bool ShpRejected = false;
  // Set when the last extraction wrote everything it was asked for without a refusal.
  bool Completed = false;
  // Set when the last extraction stopped at the user's request and changed nothing.
  bool Stopped = false;
  // The files the sub-images are written into (a setting, BMP unless changed).
  PictureFormat Format = PictureFormat::Bmp;
};

}  // namespace zorvane::graphics
