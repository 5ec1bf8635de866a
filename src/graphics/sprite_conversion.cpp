#include "graphics/sprite_conversion.h"

#include <algorithm>
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
#include "platform/ordered_work.h"
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

// One sub-image as a worker made it: its file, or its picture for a sheet, or why not.
struct ConvertedSubImage {
  std::optional<std::string> ReadFailure;
  bool Rejected = false;
  std::uint64_t Pixels = 0;
  std::vector<std::uint8_t> File;
  std::optional<std::string> CodingFailure;
  PixelBuffer Picture;  // for a sheet only
};

// What one worker thread converts with: a reader and a picture of its own.
struct ConversionWorker {
  std::unique_ptr<ShpFileReader> OwnReader;
  const ShpFileReader* Reader = nullptr;
  PictureState Picture;
};

ConvertedSubImage ConvertSubImage(ConversionWorker& worker, std::int32_t index,
                                  bool transparent, PictureFormat format) {
  ConvertedSubImage converted;
  const ShpFileReader& reader = *worker.Reader;
  const auto image = reader.SubImage(index);
  if (reader.ReadFailure()) {
    converted.ReadFailure = reader.ReadFailure();
    return converted;
  }
  if (!image) {
    converted.Rejected = true;
    return converted;
  }
  const std::int32_t width = image->Header.MaxColumn + 1;
  const std::int32_t height = image->Header.MaxRow + 1;
  converted.Pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  PictureState& picture = worker.Picture;
  SetBmpPictureSize(picture.BmpHeader, width, height);
  DecodeShpImage(*image, transparent, picture.PixelBuffer);
  if (reader.ReadFailure()) {
    converted.ReadFailure = reader.ReadFailure();
  } else if (format == PictureFormat::Sheet) {
    converted.Picture = picture.PixelBuffer;
  } else if (format == PictureFormat::Bmp) {
    converted.File = BmpFileBytes(picture);
  } else if (auto png = IndexedPngBytes(picture.PixelBuffer, picture.BmpPalette, transparent, {})) {
    converted.File = std::move(png).Value();
  } else {
    converted.CodingFailure = png.Reason();
  }
  return converted;
}

// Converts every sub-image on the work threads and, in order, stages one file per sub-image
// or collects them for one sheet; stops at the first file that cannot be staged, the first
// part of the file that cannot be read, or the user's wish to stop.
bool StageSubImages(const ShpFileReader& reader, const std::string& sourcePath, GraphicsState state,
                    platform::FileTransaction& files, platform::Ui& ui, ConversionRun& run) {
  ExtractionContext& context = state.Extraction;
  const PictureFormat format = context.Format;
  const bool transparent = state.Palettes.UseTransparency;
  std::vector<ConversionWorker> workers(platform::WorkThreads());
  for (std::size_t i = 0; i < workers.size(); ++i) {
    if (i > 0) workers[i].OwnReader = reader.Twin();
    workers[i].Reader = i > 0 ? workers[i].OwnReader.get() : &reader;
    workers[i].Picture = state.Picture;
  }
  platform::ResolvedFolder& bmpFolder = run.BmpFolder;
  platform::Progress& progress = ui.WorkProgress();
  const std::string what = "Extracting " + context.MemberName;
  SheetFrames sheet;
  const auto stage = [&](std::size_t item, ConvertedSubImage& converted) {
    context.ImageIndex = static_cast<std::int32_t>(item);
    context.ShpRejected = false;
    if (converted.ReadFailure) {
      ui.ShowMessage(platform::CannotReadMessage(sourcePath, *converted.ReadFailure));
      context.ShpRejected = true;
      return false;
    }
    if (converted.Rejected) {
      ui.ShowMessage(NotValidShpMessage(context.MemberName));
      context.ShpRejected = true;
    } else if (format == PictureFormat::Sheet) {
      sheet.Pixels += converted.Pixels;
      if (sheet.Pixels > kMostSheetPixels) {
        ui.ShowMessage(TooLargeForSheetMessage(context.MemberName));
        context.ShpRejected = true;
        return false;
      }
      sheet.Pictures.push_back(std::move(converted.Picture));
    } else {
      const std::string name = SubImageFileName(context.MemberName, context.ImageIndex, format);
      const auto write = [&converted](platform::SafeFileWriter& out) {
        return out.Write(converted.File);
      };
      // A name the folder does not hold is new: its path needs no lookup, and is not kept in
      // the listing (the names of one change differ, also in case: see ExtractMembers).
      const bool isNew = !bmpFolder.Holds(name);
      auto staged = converted.CodingFailure
                        ? platform::Status::Failure(*converted.CodingFailure)
                        : files.StageResolvedOutput(
                              isNew ? bmpFolder.Path() + name : bmpFolder.PathOf(name), write,
                              platform::Durability::Unsynced, isNew);
      if (!staged) {
        ui.ShowMessage(CannotWriteMessage(context.BmpFolder + name, staged.Reason()));
        context.ShpRejected = true;
        return false;
      }
    }
    progress.Report(what, ++run.Done, run.Total);
    if (progress.StopRequested()) {
      context.Stopped = true;
      return false;
    }
    return true;
  };
  const std::int32_t count = reader.Header().ImageCount;
  const bool all = platform::ProduceInOrder<ConvertedSubImage>(
      static_cast<std::size_t>(count),
      [&](unsigned worker, std::size_t item) {
        return ConvertSubImage(workers[worker], static_cast<std::int32_t>(item), transparent,
                               format);
      },
      stage);
  if (!all) return false;
  context.ImageIndex = count;
  return format != PictureFormat::Sheet || StageSheet(sheet, bmpFolder, state, files, ui);
}

}  // namespace

bool StageShpConversion(const ShpFileReader& reader, const std::string& sourcePath,
                        GraphicsState state, platform::FileTransaction& bmps, platform::Ui& ui,
                        ConversionRun& run) {
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
  return StageSubImages(reader, sourcePath, state, bmps, ui, run);
}

void ConvertShpToBmp(GraphicsState state, platform::Ui& shown) {
  // The messages wait until the lock, taken below, is let go.
  platform::MessagesAfterUnlock ui(shown);
  ExtractionContext& context = state.Extraction;
  context.ImageIndex = 0;
  context.ShpRejected = true;
  context.Stopped = false;
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
    ConversionRun run(context.BmpFolder,
                      static_cast<std::uint64_t>(std::max(reader.Header().ImageCount, 0)));
    if (!StageShpConversion(reader, path, state, bmps, ui, run)) {
      if (context.Stopped) ui.ShowMessage(platform::kStoppedMessage);
      return;
    }
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
