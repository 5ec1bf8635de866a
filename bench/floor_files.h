#pragma once

#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "platform/safe_file.h"

// Files written as the floors of the benchmarks (and their inputs) are: whole under a temporary
// name, then renamed, without the lock and journal of the tool's own transactions.
namespace zorvane::bench {

// Writes `path` through `fill`, which writes into the temporary file; aborts on failure.
template <class Fill>
void WriteFileThrough(const std::string& path, Fill fill,
                      platform::Durability durability = platform::Durability::Unsynced) {
  auto writer = platform::SafeFileWriter::Create(path, durability);
  if (!writer || !fill(writer.Value()) || !writer.Value().Flush()) std::abort();
  const std::string temporary = writer.Value().Release();
  if (std::rename(temporary.c_str(), path.c_str()) != 0) std::abort();
}

inline void WriteFileWhole(const std::string& path, std::span<const std::uint8_t> bytes,
                           platform::Durability durability = platform::Durability::Unsynced) {
  WriteFileThrough(
      path, [bytes](platform::SafeFileWriter& out) { return static_cast<bool>(out.Write(bytes)); },
      durability);
}

}  // namespace zorvane::bench
