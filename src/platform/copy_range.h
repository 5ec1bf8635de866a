#pragma once

#include <cstdint>

#include "platform/file_system.h"
#include "platform/result.h"
#include "platform/safe_file.h"

namespace zorvane::platform {

// The size of the buffer through which members and archive blocks are copied: copying any
// amount of bytes needs this much memory, not the size of the file.
inline constexpr std::size_t kTransferBufferSize = 1 << 20;

// Copies `length` bytes of `source` from `offset` to the end of `target`, through one buffer of
// kTransferBufferSize bytes. Fails when the source holds fewer bytes.
Status CopyRange(const InputFile& source, std::uint64_t offset, std::uint64_t length,
                 SafeFileWriter& target);

}  // namespace zorvane::platform
