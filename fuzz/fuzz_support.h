#pragma once

// Small helpers shared by the fuzz targets: a check that fails the way the fuzzer notices, and
// a scratch folder of their own whose files are written with plain stdio.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zorvane::fuzz {

using Bytes = std::vector<std::uint8_t>;

inline void Check(bool condition) {
  if (!condition) abort();
}

// A new folder named after the target, ending in '/', removed when the process exits normally
// (a crash leaves it for a look). It lies in memory (/dev/shm) where the machine has that, so
// that the targets' many small files and flushes do not wait for a disk. Call once and keep
// the result.
inline std::string MakeScratchFolder(std::string_view target) {
  std::error_code error;
  const char* base = std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/zorvane-fuzz-" + std::string(target) + "-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) abort();
  static std::vector<std::string> made;
  if (made.empty()) {
    std::atexit([] {
      std::error_code ignored;
      for (const std::string& folder : made) std::filesystem::remove_all(folder, ignored);
    });
  }
  made.push_back(pattern);
  return pattern + "/";
}

inline void WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) abort();
  if (std::fclose(file) != 0) abort();
}

inline void WriteBytes(const std::string& path, std::string_view text) {
  WriteBytes(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

inline Bytes ReadBytes(const std::string& path) {
  auto bytes = platform::ReadWholeFile(path);
  if (!bytes) abort();
  return std::move(bytes).Value();
}

}  // namespace zorvane::fuzz
