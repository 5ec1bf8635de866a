#include "graphics/picture_format.h"

#include <array>
#include <cstdio>
#include <utility>

namespace zorvane::graphics {

namespace {

constexpr std::array<std::pair<PictureFormat, std::string_view>, 3> kNames{
    {{PictureFormat::Bmp, "BMP"},
     {PictureFormat::Png, "PNG"},
     {PictureFormat::Sheet, "PNG sheet"}}};

}  // namespace

std::string_view PictureFormatName(PictureFormat format) {
  for (const auto& [known, name] : kNames) {
    if (known == format) return name;
  }
  return kNames[0].second;
}

std::optional<PictureFormat> PictureFormatNamed(std::string_view name) {
  for (const auto& [format, known] : kNames) {
    if (known == name) return format;
  }
  return std::nullopt;
}

std::string_view PictureExtension(PictureFormat format) {
  return format == PictureFormat::Bmp ? ".BMP" : ".PNG";
}

std::string SubImageFileName(std::string_view memberName, std::int32_t number,
                             PictureFormat format) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%05d", static_cast<int>(number));
  return std::string(memberName) + "_" + digits + std::string(PictureExtension(format));
}

}  // namespace zorvane::graphics
