// Feeds arbitrary bytes as a whole sprite file to the sprite reader and the decoder, the way
// the conversion into BMPs reads an extracted member, and checks the pictures it makes. The
// same bytes are also read as a member of a file, between bytes that must never be read,
// through windows of a few bytes: every sub-image must come out exactly as from memory.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "graphics/bmp_header.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "platform/file_system.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;
// Sizes up to 32768 x 32768 are legal, but a picture of a gigabyte per input would only slow
// the fuzzer down; the size arithmetic is the same for smaller pictures.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 22;

void CheckPicture(const zorvane::graphics::ShpSubImage& image,
                  const zorvane::graphics::PixelBuffer& pixels, bool useTransparency) {
  using namespace zorvane::graphics;
  const std::int32_t width = image.Header.MaxColumn + 1;
  const std::int32_t height = image.Header.MaxRow + 1;
  if (pixels.Width != width || pixels.Height != height || pixels.Stride != Stride(width) ||
      pixels.Bytes.size() != static_cast<std::size_t>(pixels.Stride) * height) {
    abort();
  }
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < pixels.Stride; ++x) {
      const std::uint8_t pixel = pixels.At(x, y);
      if (x >= width && pixel != 0) abort();  // pad bytes
      // Without a valid box the picture is all transparent.
      if (x < width && !image.HeaderValid && pixel != (useTransparency ? kTransparentIndex : 0)) {
        abort();
      }
    }
  }
}

// Bytes around the sprite file in the file on disk; they read as codes if the reader strays.
constexpr std::size_t kAround = 5;
constexpr std::size_t kWindow = 7;

// The name of the scratch file of this fuzzing process, written anew for every input.
const std::string& ScratchPath() {
  static const std::string path = zorvane::fuzz::MakeScratchFolder("sprite") + "member";
  return path;
}

std::optional<zorvane::platform::InputFile> AsMemberOfAFile(const std::uint8_t* data,
                                                            std::size_t size) {
  std::vector<std::uint8_t> bytes(kAround + size + kAround, 0xFF);
  if (size > 0) std::memcpy(bytes.data() + kAround, data, size);
  zorvane::fuzz::WriteBytes(ScratchPath(), bytes);
  auto file = zorvane::platform::InputFile::Open(ScratchPath());
  if (!file) abort();
  ::unlink(ScratchPath().c_str());  // the open file keeps its bytes; nothing stays behind
  return std::move(file).Value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  using namespace zorvane::graphics;
  const ShpFileReader reader({data, size});
  const auto file = AsMemberOfAFile(data, size);
  const ShpFileReader fromFile(*file, kAround, size, kWindow);
  if (fromFile.TableUsable() != reader.TableUsable()) abort();
  if (!reader.TableUsable()) return 0;
  PixelBuffer pixels;
  PixelBuffer pixelsFromFile;
  BmpHeader header;
  for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
    const auto image = reader.SubImage(i);
    const auto imageFromFile = fromFile.SubImage(i);
    if (image.has_value() != imageFromFile.has_value()) abort();
    if (!image) continue;
    const std::int64_t area =
        std::int64_t{image->Header.MaxColumn + 1} * (image->Header.MaxRow + 1);
    if (area > kMaxPixels) continue;
    const bool useTransparency = i % 2 == 0;
    DecodeShpImage(*image, useTransparency, pixels);
    CheckPicture(*image, pixels, useTransparency);
    DecodeShpImage(*imageFromFile, useTransparency, pixelsFromFile);
    if (pixelsFromFile.Bytes != pixels.Bytes || pixelsFromFile.Stride != pixels.Stride) abort();
    SetBmpPictureSize(header, pixels.Width, pixels.Height);
    if (header.bfSize != kBmpPixelOffset + pixels.Bytes.size()) abort();
  }
  if (fromFile.ReadFailure()) abort();
  return 0;
}
