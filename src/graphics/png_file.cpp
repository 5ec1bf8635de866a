#include "graphics/png_file.h"

#include <spng.h>

#include <cstdlib>
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

}  // namespace

platform::Result<std::vector<std::uint8_t>> PngBytes(const RenderedPicture& picture) {
  if (picture.Width <= 0 || picture.Height <= 0 ||
      picture.Pixels.size() !=
          static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height)) {
    return platform::Status::Failure("the picture has no pixels");
  }
  const std::unique_ptr<spng_ctx, EncoderDeleter> encoder(spng_ctx_new(SPNG_CTX_ENCODER));
  if (!encoder) throw std::bad_alloc();
  spng_ihdr header{};
  header.width = static_cast<std::uint32_t>(picture.Width);
  header.height = static_cast<std::uint32_t>(picture.Height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_INDEXED;
  spng_plte palette{};
  palette.n_entries = static_cast<std::uint32_t>(picture.Colours.size());
  for (std::size_t i = 0; i < picture.Colours.size(); ++i) {
    palette.entries[i].red = picture.Colours[i].Red;
    palette.entries[i].green = picture.Colours[i].Green;
    palette.entries[i].blue = picture.Colours[i].Blue;
  }
  for (const int error :
       {spng_set_option(encoder.get(), SPNG_ENCODE_TO_BUFFER, 1),
        spng_set_ihdr(encoder.get(), &header), spng_set_plte(encoder.get(), &palette)}) {
    if (error != 0) return Failed(error);
  }
  if (const int error =
          spng_encode_image(encoder.get(), picture.Pixels.data(), picture.Pixels.size(),
                            SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
      error != 0) {
    return Failed(error);
  }
  std::size_t length = 0;
  int error = 0;
  const std::unique_ptr<void, BufferDeleter> coded(
      spng_get_png_buffer(encoder.get(), &length, &error));
  if (!coded) return Failed(error);
  const auto* bytes = static_cast<const std::uint8_t*>(coded.get());
  return std::vector<std::uint8_t>(bytes, bytes + length);
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
