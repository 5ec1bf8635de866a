#include "graphics/png_repack.h"

#include <algorithm>

#include "graphics/bmp_reader.h"
#include "graphics/bmp_repack.h"
#include "graphics/sprite_sheet.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

namespace {

constexpr char kNoSpriteFile[] = "No SHP file made.";

// The regions of a file's pictures: the whole picture of a sub-image file, the frames of a
// sheet's list.
platform::Result<std::vector<PngRegion>> RegionsOf(const PngImage& image, PictureFormat format) {
  if (format != PictureFormat::Sheet) {
    if (image.Width > kMaxPictureSide || image.Height > kMaxPictureSide) {
      return platform::Status::Failure("its picture is " + std::to_string(image.Width) + " x " +
                                       std::to_string(image.Height) +
                                       " pixels; a sub-image has at most " +
                                       std::to_string(kMaxPictureSide) + " pixels on a side.");
    }
    return std::vector<PngRegion>{{0, 0, image.Width, image.Height}};
  }
  const auto chunk = std::find_if(image.Texts.begin(), image.Texts.end(), [](const PngText& text) {
    return text.Keyword == kSheetFramesKeyword;
  });
  if (chunk == image.Texts.end()) {
    return platform::Status::Failure(
        "it holds no list of frames, so it is not a sheet that can be packed (a sheet keeps the "
        "list its extraction wrote into it).");
  }
  const auto frames = ParseSheetFrames(chunk->Text, image.Width, image.Height);
  if (!frames) return platform::Status::Failure(frames.Reason());
  std::vector<PngRegion> regions;
  for (const SheetFrame& frame : frames.Value()) {
    regions.push_back({frame.X, frame.Y, frame.Width, frame.Height});
  }
  return regions;
}

}  // namespace

std::string PngRefusedMessage(const std::string& path, const std::string& reason) {
  return path + ": " + reason + " " + kNoSpriteFile;
}

bool PackPngSet(const PngSet& set, const PngMapping& mapping, const std::string& spriteFile,
                PixelBuffer& pixels, SpritePacker& packer, platform::Ui& ui) {
  for (const std::string& name : set.Files) {
    const std::string shown = set.ShownFolder + name;
    const auto bytes = platform::ReadWholeFile(set.ResolvedFolder + name);
    if (!bytes) {
      ui.ShowMessage(
          platform::JoinLines({platform::CannotReadMessage(shown, bytes.Reason()), kNoSpriteFile}));
      return false;
    }
    const auto image = DecodePng(bytes.Value(), mapping.Colours);
    if (!image) {
      ui.ShowMessage(PngRefusedMessage(shown, image.Reason()));
      return false;
    }
    const auto regions = RegionsOf(image.Value(), set.Format);
    if (!regions) {
      ui.ShowMessage(PngRefusedMessage(shown, regions.Reason()));
      return false;
    }
    for (const PngRegion& region : regions.Value()) {
      if (auto mapped = MapPngRegion(image.Value(), region, mapping, pixels); !mapped) {
        ui.ShowMessage(PngRefusedMessage(shown, mapped.Reason()));
        return false;
      }
      if (!packer.Add(pixels, mapping.UseTransparency)) {
        ui.ShowMessage(SpriteFileTooLargeMessage(spriteFile));
        return false;
      }
    }
  }
  return true;
}

}  // namespace zorvane::graphics
