#include "platform/copy_range.h"

#include <algorithm>
#include <vector>

namespace zorvane::platform {

Status CopyRange(const InputFile& source, std::uint64_t offset, std::uint64_t length,
                 SafeFileWriter& target) {
  if (offset > source.Length() || length > source.Length() - offset) {
    return Status::Failure("The file ends too early");
  }
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kTransferBufferSize)));
  while (length > 0) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer.size()));
    const std::span<std::uint8_t> part(buffer.data(), chunk);
    if (auto read = source.ReadAt(offset, part); !read) return read;
    if (auto written = target.Write(part); !written) return written;
    offset += chunk;
    length -= chunk;
  }
  return Status::Success();
}

}  // namespace zorvane::platform
