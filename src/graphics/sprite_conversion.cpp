#include "graphics/sprite_conversion.h"

#include <cstdio>
#include <new>

#include "graphics/bmp_file.h"
#include "graphics/graphics_messages.h"
#include "graphics/sprite_decoder.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/messages_after_unlock.h"
#include "platform/resolved_folder.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

std::string BmpFileName(std::string_view memberName, std::int32_t number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%05d", static_cast<int>(number));
  return std::string(memberName) + "_" + digits + ".BMP";
}

std::string NotValidShpMessage(std::string_view memberName) {
  return "The file: " + std::string(memberName) + ".SHP is not a valid SHP-file. No BMP-file made.";
}

std::string TooManySubImagesMessage(std::string_view memberName, std::int32_t count) {
  return "The file: " + std::string(memberName) + ".SHP holds " + std::to_string(count) +
         " sub-images; BMP-files are numbered with five digits, so no more than " +
         std::to_string(kMostConvertibleSubImages) + " can be made. No BMP-file made.";
}

namespace {

// Stages one BMP per sub-image; stops at the first BMP that cannot be staged or the first part
// of the file that cannot be read.
bool StageSubImages(const ShpFileReader& reader, const std::string& sourcePath, GraphicsState state,
                    platform::FileTransaction& bmps, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  PictureState& picture = state.Picture;
  const auto unreadable = [&] {
    ui.ShowMessage(platform::CannotReadMessage(sourcePath, *reader.ReadFailure()));
    context.ShpRejected = true;
    return false;
  };
  platform::ResolvedFolder bmpFolder(context.BmpFolder);
  const std::int32_t count = reader.Header().ImageCount;
  for (context.ImageIndex = 0; context.ImageIndex < count; ++context.ImageIndex) {
    context.ShpRejected = false;
    const auto image = reader.SubImage(context.ImageIndex);
    if (reader.ReadFailure()) return unreadable();
    if (!image) {
      ui.ShowMessage(NotValidShpMessage(context.MemberName));
      context.ShpRejected = true;
      continue;
    }
    SetBmpPictureSize(picture.BmpHeader, image->Header.MaxColumn + 1, image->Header.MaxRow + 1);
    DecodeShpImage(*image, state.Palettes.UseTransparency, picture.PixelBuffer);
    if (reader.ReadFailure()) return unreadable();
    const std::string name = BmpFileName(context.MemberName, context.ImageIndex);
    if (auto staged = bmps.StageResolvedOutput(
            bmpFolder.PathOf(name),
            [&picture](platform::SafeFileWriter& out) { return WriteBmp(out, picture); });
        !staged) {
      ui.ShowMessage(CannotWriteMessage(context.BmpFolder + name, staged.Reason()));
      context.ShpRejected = true;
      return false;
    }
  }
  return true;
}

}  // namespace

bool StageShpConversion(const ShpFileReader& reader, const std::string& sourcePath,
                        GraphicsState state, platform::FileTransaction& bmps, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  SetBmpConstantFields(state.Picture.BmpHeader);
  context.ImageIndex = 0;
  context.ShpRejected = true;
  if (reader.ReadFailure()) {
    ui.ShowMessage(platform::CannotReadMessage(sourcePath, *reader.ReadFailure()));
    return false;
  }
  SetBmpPalette(state.Palettes, PaletteForSprite(context.MemberName), state.Picture.BmpPalette);
  // Without a usable table there are no sub-images to number: the file is refused once.
  if (!reader.TableUsable()) {
    ui.ShowMessage(NotValidShpMessage(context.MemberName));
    return true;
  }
  if (reader.Header().ImageCount > kMostConvertibleSubImages) {
    ui.ShowMessage(TooManySubImagesMessage(context.MemberName, reader.Header().ImageCount));
    return false;
  }
  return StageSubImages(reader, sourcePath, state, bmps, ui);
}

void ConvertShpToBmp(GraphicsState state, platform::Ui& shown) {
  // The messages wait until the lock, taken below, is let go.
  platform::MessagesAfterUnlock ui(shown);
  ExtractionContext& context = state.Extraction;
  context.ImageIndex = 0;
  context.ShpRejected = true;
  const std::string path = context.ExtractFolder + context.MemberName + context.MemberExtension;
  try {
    const auto file = platform::InputFile::Open(path);
    if (!file) {
      SetBmpConstantFields(state.Picture.BmpHeader);
      ui.ShowMessage(platform::CannotReadMessage(path, file.Reason()));
      return;
    }
    // The sprite file's folder holds the BMP folder: one lock covers both.
    const auto lock = platform::LockForChanges(context.ExtractFolder, ui);
    if (!lock) {
      ui.ShowMessage(platform::JoinLines({lock.Reason(), "No BMP-file made."}));
      return;
    }
    const ShpFileReader reader(file.Value(), 0, file.Value().Length());
    platform::FileTransaction bmps(lock.Value());
    if (!StageShpConversion(reader, path, state, bmps, ui)) return;
    if (auto committed = bmps.Commit(); !committed) {
      ui.ShowMessage(committed.FailureMessage(NothingReplacedMessage(committed.Outcome.Reason())));
      context.ShpRejected = true;
    }
  } catch (const std::bad_alloc&) {
    context.ShpRejected = true;
    ui.ShowMessage(platform::NotEnoughMemoryMessage("convert " + path));
  }
}

}  // namespace zorvane::graphics
