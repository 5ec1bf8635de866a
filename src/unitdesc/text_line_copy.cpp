#include "unitdesc/text_line_copy.h"

#include <algorithm>
#include <vector>

#include "platform/copy_range.h"
#include "platform/failure_messages.h"
#include "platform/text_lines.h"

namespace zorvane::unitdesc {

void LineEndNormaliser::Feed(std::string_view piece, std::string& out) {
  std::size_t position = 0;
  while (position < piece.size()) {
    if (pendingCr_) {
      out += platform::kLineEnd;
      pendingCr_ = false;
      lineOpen_ = false;
      if (piece[position] == '\n') {
        ++position;
        continue;
      }
    }
    const std::size_t cr = piece.find('\r', position);
    const std::size_t end = cr == std::string_view::npos ? piece.size() : cr;
    if (end > position) {
      out.append(piece.substr(position, end - position));
      lineOpen_ = true;
    }
    if (cr == std::string_view::npos) break;
    pendingCr_ = true;
    position = cr + 1;
  }
}

void LineEndNormaliser::Finish(std::string& out) {
  if (pendingCr_ || lineOpen_) out += platform::kLineEnd;
  pendingCr_ = false;
  lineOpen_ = false;
}

std::string NormaliseLineEnds(std::string_view text) {
  std::string out;
  LineEndNormaliser normaliser;
  normaliser.Feed(text, out);
  normaliser.Finish(out);
  return out;
}

platform::Result<std::uint64_t> CopyTextLines(const platform::InputFile& source,
                                              const std::string& sourcePath, std::uint64_t offset,
                                              platform::SafeFileWriter& target,
                                              const std::string& targetPath) {
  const std::uint64_t remaining = offset < source.Length() ? source.Length() - offset : 0;
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(remaining, platform::kTransferBufferSize)));
  std::string out;
  std::uint64_t written = 0;
  LineEndNormaliser normaliser;
  const auto flush = [&]() -> platform::Status {
    if (out.empty()) return platform::Status::Success();
    if (auto put = target.Write(out); !put) {
      return platform::Status::Failure("Cannot write " + targetPath + ": " + put.Reason());
    }
    written += out.size();
    out.clear();
    return platform::Status::Success();
  };
  while (offset < source.Length() && !buffer.empty()) {
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), source.Length() - offset));
    auto got = source.ReadSomeAt(offset, std::span(buffer.data(), wanted));
    if (!got)
      return platform::Status::Failure(platform::CannotReadMessage(sourcePath, got.Reason()));
    if (got.Value() == 0) break;  // the file became shorter while it was read
    normaliser.Feed(std::string_view(reinterpret_cast<const char*>(buffer.data()), got.Value()),
                    out);
    offset += got.Value();
    if (out.size() >= platform::kTransferBufferSize) {
      if (auto flushed = flush(); !flushed) return flushed;
    }
  }
  normaliser.Finish(out);
  if (auto flushed = flush(); !flushed) return flushed;
  return written;
}

}  // namespace zorvane::unitdesc
