#include "graphics/sprite_conversion.h"

#include <cstdio>
#include <new>

#include "graphics/bmp_file.h"
#include "graphics/graphics_messages.h"
#include "graphics/png_file.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_sheet.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/messages_after_unlock.h"
#include "platform/resolved_folder.h"
#include "platform/text_lines.h"

namespace zorvane::graphics {

std::string NotValidShpMessage(std::string_view memberName) {
  return "The file: " + std::string(memberName) + ".SHP is not a valid SHP-file. No BMP-file made.";
}

std::string TooManySubImagesMessage(std::string_view memberName, std::int32_t count) {
  return "The file: " + std::string(memberName) + ".SHP holds " + std::to_string(count) +
         " sub-images; BMP-files are numbered with five digits, so no more than " +
         std::to_string(kMostConvertibleSubImages) + " can be made. No BMP-file made.";
}

std::string TooLargeForSheetMessage(std::string_view memberName) {
  return "The file: " + std::string(memberName) + ".SHP has more pixels than one sheet can hold (" +
         std::to_string(kMostSheetPixels) + "). Extract it as BMP or PNG files. No PNG sheet made.";
}

namespace {

// The sub-images of a sheet, kept until all are decoded and the grid can be laid out.
struct SheetFrames {
  std::vector<PixelBuffer> Pictures;
  std::uint64_t Pixels = 0;
};

// Stages an indexed PNG of `pixels`; the failure's reason names no file.
platform::Status StagePng(const std::string& path, const PixelBuffer& pixels,
                          const Palette& colours, bool transparent,
                          const std::vector<PngText>& texts, platform::FileTransaction& files) {
  const auto png = IndexedPngBytes(pixels, colours, transparent, texts);
  if (!png) return platform::Status::Failure(png.Reason());
  return files.StageResolvedOutput(
      path, [&png](platform::SafeFileWriter& out) { return out.Write(png.Value()); });
}

// Stages the file of one decoded sub-image (BMP or PNG); the failure's reason names no file.
platform::Status StageSubImage(const std::string& path, const PictureState& picture,
                               bool transparent, PictureFormat format,
                               platform::FileTransaction& files) {
  if (format == PictureFormat::Bmp) {
    return files.StageResolvedOutput(
        path, [&picture](platform::SafeFileWriter& out) { return WriteBmp(out, picture); });
  }
  return StagePng(path, picture.PixelBuffer, picture.BmpPalette, transparent, {}, files);
}

// Lays the sub-images out in a grid and stages NAME.PNG with the list of its frames.
bool StageSheet(const SheetFrames& frames, platform::ResolvedFolder& folder, GraphicsState state,
                platform::FileTransaction& files, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  if (frames.Pictures.empty()) return true;
  std::vector<std::pair<std::int32_t, std::int32_t>> sizes;
  for (const PixelBuffer& picture : frames.Pictures)
    sizes.emplace_back(picture.Width, picture.Height);
  const SheetLayout layout = LayOutSheet(sizes);
  if (layout.Width == 0) {
    ui.ShowMessage(TooLargeForSheetMessage(context.MemberName));
    context.ShpRejected = true;
    return false;
  }
  const bool transparent = state.Palettes.UseTransparency;
  PixelBuffer sheet;
  ResetPixelBuffer(sheet, layout.Width, layout.Height, transparent ? kTransparentIndex : 0);
  for (std::size_t i = 0; i < frames.Pictures.size(); ++i) {
    PlaceInSheet(frames.Pictures[i], layout.Frames[i], sheet);
  }
  const std::string name = context.MemberName + ".PNG";
  if (auto staged = StagePng(folder.PathOf(name), sheet, state.Picture.BmpPalette, transparent,
                             {{std::string(kSheetFramesKeyword), SheetFramesText(layout)}}, files);
      !staged) {
    ui.ShowMessage(CannotWriteMessage(context.BmpFolder + name, staged.Reason()));
    context.ShpRejected = true;
    return false;
  }
  return true;
}

// Stages one file per sub-image, or collects them for one sheet; stops at the first file that
// cannot be staged or the first part of the file that cannot be read.
bool StageSubImages(const ShpFileReader& reader, const std::string& sourcePath, GraphicsState state,
                    platform::FileTransaction& files, platform::Ui& ui) {
  ExtractionContext& context = state.Extraction;
  PictureState& picture = state.Picture;
  const auto unreadable = [&] {
    ui.ShowMessage(platform::CannotReadMessage(sourcePath, *reader.ReadFailure()));
    context.ShpRejected = true;
    return false;
  };
  const PictureFormat format = context.Format;
  platform::ResolvedFolder bmpFolder(context.BmpFolder);
  SheetFrames sheet;
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
    const std::int32_t width = image->Header.MaxColumn + 1;
    const std::int32_t height = image->Header.MaxRow + 1;
    if (format == PictureFormat::Sheet) {
      sheet.Pixels += static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
      if (sheet.Pixels > kMostSheetPixels) {
        ui.ShowMessage(TooLargeForSheetMessage(context.MemberName));
        context.ShpRejected = true;
        return false;
      }
    }
    SetBmpPictureSize(picture.BmpHeader, width, height);
    DecodeShpImage(*image, state.Palettes.UseTransparency, picture.PixelBuffer);
    if (reader.ReadFailure()) return unreadable();
    if (format == PictureFormat::Sheet) {
      sheet.Pictures.push_back(picture.PixelBuffer);
      continue;
    }
    const std::string name = SubImageFileName(context.MemberName, context.ImageIndex, format);
    if (auto staged = StageSubImage(bmpFolder.PathOf(name), picture, state.Palettes.UseTransparency,
                                    format, files);
        !staged) {
      ui.ShowMessage(CannotWriteMessage(context.BmpFolder + name, staged.Reason()));
      context.ShpRejected = true;
      return false;
    }
  }
  return format != PictureFormat::Sheet || StageSheet(sheet, bmpFolder, state, files, ui);
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
