#include "graphics/png_file.h"

#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>

#include "graphics/graphics_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"

namespace zorvane::graphics {

namespace {

struct EncoderDeleter {
  void operator()(spng_ctx* encoder) const { spng_ctx_free(encoder); }
};

struct BufferDeleter {
  void operator()(void* bytes) const { std::free(bytes); }
};

platform::Status Failed(int error) {
  return platform::Status::Failure(std::string("the PNG cannot be coded (") + spng_strerror(error) +
                                   ")");
}

// The PNG of width x height indices whose rows, top row first, `rowAt` gives.
platform::Result<std::vector<std::uint8_t>> Encode(
    std::int32_t width, std::int32_t height, const Palette& colours, bool transparentIndex,
    const std::vector<PngText>& texts,
    const std::function<const std::uint8_t*(std::int32_t)>& rowAt) {
  if (width <= 0 || height <= 0) return platform::Status::Failure("the picture has no pixels");
  const std::unique_ptr<spng_ctx, EncoderDeleter> encoder(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!encoder) throw std::bad_alloc();
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(width);
  header.height = static_cast<std::uint32_t>(height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_INDEXED;
  spng_plte palette{};
  palette.n_entries = static_cast<std::uint32_t>(colours.size());
  for (std::size_t i = 0; i < colours.size(); ++i) {
    palette.entries[i] = {colours[i].Red, colours[i].Green, colours[i].Blue, 0};
  }
  spng_trns transparency{};
  transparency.n_type3_entries = kTransparentIndex + 1;
  std::fill_n(transparency.type3_alpha, kTransparentIndex, std::uint8_t{255});
  transparency.type3_alpha[kTransparentIndex] = 0;
  std::vector<spng_text> chunks(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::size_t keyword = std::min(texts[i].Keyword.size(), sizeof chunks[i].keyword - 1);
    std::copy_n(texts[i].Keyword.data(), keyword, chunks[i].keyword);
    chunks[i].type = SPNG_TEXT;
    chunks[i].length = texts[i].Text.size();
    chunks[i].text = const_cast<char*>(texts[i].Text.c_str());
  }
  for (const int error :
       {spng_set_option(encoder.get(), SPNG_ENCODE_TO_BUFFER, 1),
        spng_set_ihdr(encoder.get(), &header), spng_set_plte(encoder.get(), &palette),
        transparentIndex ? spng_set_trns(encoder.get(), &transparency) : 0,
        chunks.empty() ? 0
                       : spng_set_text(encoder.get(), chunks.data(),
                                       static_cast<std::uint32_t>(chunks.size()))}) {
    if (error != 0) return Failed(error);
  }
  if (const int error = spng_encode_image(encoder.get(), nullptr, 0, SPNG_FMT_PNG,
                                          SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
      error != 0) {
    return Failed(error);
  }
  const auto rowLength = static_cast<std::size_t>(width);
  for (std::int32_t row = 0; row < height; ++row) {
    // The last row is answered with "end of image", the file then complete.
    const int error = spng_encode_row(encoder.get(), rowAt(row), rowLength);
    if (error != 0 && !(error == SPNG_EOI && row == height - 1)) return Failed(error);
  }
  std::size_t length = 0;
  int error = 0;
  const std::unique_ptr<void, BufferDeleter> coded(
      spng_get_png_buffer(encoder.get(), &length, &error));
  if (!coded) return Failed(error);
  const auto* bytes = static_cast<const std::uint8_t*>(coded.get());
  return std::vector<std::uint8_t>(bytes, bytes + length);
}

}  // namespace

platform::Result<std::vector<std::uint8_t>> IndexedPngBytes(const PixelBuffer& pixels,
                                                            const Palette& colours,
                                                            bool transparentIndex,
                                                            const std::vector<PngText>& texts) {
  return Encode(pixels.Width, pixels.Height, colours, transparentIndex, texts,
                [&pixels](std::int32_t row) { return pixels.Row(pixels.Height - 1 - row); });
}

platform::Result<std::vector<std::uint8_t>> PngBytes(const RenderedPicture& picture) {
  if (picture.Pixels.size() !=
      static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height)) {
    return platform::Status::Failure("the picture has no pixels");
  }
  const auto width = static_cast<std::size_t>(picture.Width);
  return Encode(picture.Width, picture.Height, picture.Colours, false, {},
                [&picture, width](std::int32_t row) {
                  return picture.Pixels.data() + static_cast<std::size_t>(row) * width;
                });
}

platform::Status WritePng(const std::string& path, const RenderedPicture& picture,
                          platform::Ui& shown) {
  const auto failure = [&path](const std::string& reason) {
    return platform::Status::Failure(CannotWriteMessage(path, reason));
  };
  try {
    const std::string folder = platform::FolderPart(path);
    if (platform::FileNamePart(path).empty()) return failure("it names no file");
    if (!folder.empty() && !platform::FolderExists(folder)) {
      return failure("its folder does not exist");
    }
    const auto bytes = PngBytes(picture);
    if (!bytes) return failure(bytes.Reason());
    // Messages wait until the folder is let go again.
    platform::MessagesAfterUnlock ui(shown);
    const auto lock = platform::LockForChanges(folder.empty() ? "." : folder, ui);
    if (!lock) return platform::Status::Failure(lock.Reason());
    platform::FileTransaction file(lock.Value());
    const auto write = [&bytes](platform::SafeFileWriter& out) { return out.Write(bytes.Value()); };
    if (auto staged = file.StageWritten(path, std::string(), write, platform::Durability::Unsynced);
        !staged) {
      return failure(staged.Reason());
    }
    if (auto committed = file.Commit(); !committed) {
      return platform::Status::Failure(
          committed.FailureMessage(CannotWriteMessage(path, committed.Outcome.Reason())));
    }
    return platform::Status::Success();
  } catch (const std::bad_alloc&) {
    return failure("there is not enough memory");
  }
}

}  // namespace zorvane::graphics
