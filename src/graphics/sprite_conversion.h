#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/extraction_context.h"
#include "graphics/palette_state.h"
#include "graphics/picture_state.h"
#include "graphics/sprite_format.h"
#include "platform/file_transaction.h"
#include "platform/resolved_folder.h"
#include "platform/ui.h"

namespace zorvane::graphics {

// The parts of a session the graphics workers read and write.
struct GraphicsState {
  ExtractionContext& Extraction;
  PaletteState& Palettes;
  PictureState& Picture;
};

// The most sub-images a sprite file may hold to be converted: their BMPs are numbered 00000 to
// 99999, and a sixth digit would put a BMP into another set when the BMPs are packed again.
inline constexpr std::int32_t kMostConvertibleSubImages = 100000;

// The message for a sprite file of more sub-images than that.
std::string TooManySubImagesMessage(std::string_view memberName, std::int32_t count);

// The message for a sprite file whose sub-images do not fit into one sheet.
std::string TooLargeForSheetMessage(std::string_view memberName);

// "The file: " + name + ".SHP is not a valid SHP-file. No BMP-file made."
std::string NotValidShpMessage(std::string_view memberName);

// Converts the sprite file ExtractFolder + MemberName + MemberExtension into one BMP per
// sub-image in BmpFolder (both folders exist), coloured with the palette its name selects (or,
// as Extraction.Format says, one indexed PNG per sub-image, index 213 transparent where the
// palette has transparency, or one PNG sheet NAME.PNG of them all); the files replace earlier
// ones together, once all are written. A sub-image that cannot be read
// (or a file whose table cannot be) gets the message of an invalid sprite file and no BMP; the
// others keep their numbers. Leaves ImageIndex (the number of sub-images) and ShpRejected (the
// last sub-image, or the file, was rejected, or the BMPs could not be written, which leaves
// every earlier BMP as it was) for the caller.
void ConvertShpToBmp(GraphicsState state, platform::Ui& ui);

// What a command that converts sprite files into one BMP folder keeps from one file to the
// next: the folder's listing, taken once (see ResolvedFolder), and how far it is, for its
// progress, each sub-image converted being a step.
struct ConversionRun {
  ConversionRun(const std::string& bmpFolder, std::uint64_t total)
      : BmpFolder(bmpFolder), Total(total) {}
  platform::ResolvedFolder BmpFolder;
  std::uint64_t Done = 0;
  std::uint64_t Total = 0;
};

// The conversion of the sprite file that `reader` reads (from `sourcePath`, as messages name
// it), with every BMP staged in `bmps` rather than put in place: the caller commits them
// together with its own files. The sub-images are decoded and coded on WorkThreads() threads
// and staged in order, so the files are the same on any number of threads. Each sub-image is
// reported to the Ui's progress as a step of `run`, whose folder is Extraction.BmpFolder. Returns false, with ShpRejected set and
// a message shown, when the file could not be read or a BMP could not be staged, and with
// Stopped set (no message) when the user asked to stop; rejected sub-images are no failure.
bool StageShpConversion(const ShpFileReader& reader, const std::string& sourcePath,
                        GraphicsState state, platform::FileTransaction& bmps, platform::Ui& ui,
                        ConversionRun& run);

}  // namespace zorvane::graphics
