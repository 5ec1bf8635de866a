#pragma once

#include <optional>
#include <string>
#include <string_view>

// The files extraction writes the sub-images of a sprite or tile file into.
namespace zorvane::graphics {

enum class PictureFormat {
  Bmp,    // NAME_00000.BMP, ...: an 8-bit BMP per sub-image
  Png,    // NAME_00000.PNG, ...: an 8-bit indexed PNG per sub-image
  Sheet,  // NAME.PNG: every sub-image in one indexed PNG, with the list of its frames
};

// "BMP", "PNG", "PNG sheet": the words of the settings file and of the Setup menu.
std::string_view PictureFormatName(PictureFormat format);
std::optional<PictureFormat> PictureFormatNamed(std::string_view name);

// The extension of the files of a format, with its dot: ".BMP" or ".PNG".
std::string_view PictureExtension(PictureFormat format);

// NAME_00012.BMP or NAME_00012.PNG: the sub-image number in five digits, or in as many as it
// needs above 99999.
std::string SubImageFileName(std::string_view memberName, std::int32_t number,
                             PictureFormat format);

}  // namespace zorvane::graphics
