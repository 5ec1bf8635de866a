#include "support/files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/folder_lock.h"
#include "platform/paths.h"

namespace zorvane::testing {

std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '/', platform::kSeparator);
  return path;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteFile(const std::string& path, std::string_view text) {
  WriteFile(path, BytesOf(text));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot read " + path);
  Bytes bytes(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) throw std::runtime_error("cannot read " + path);
  return bytes;
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadFile(path);
  return std::string(bytes.begin(), bytes.end());
}

Bytes BytesOf(std::string_view text) {
  return Bytes(text.begin(), text.end());
}

std::map<std::string, Bytes> SnapshotFolder(const std::string& folder) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    // The lock file says who may change the folder; it is no content of it.
    if (entry.path().filename() == platform::kLockFileName) continue;
    const std::string relative = std::filesystem::relative(entry.path(), folder).generic_string();
    files[relative] = entry.is_regular_file() ? ReadFile(entry.path().string()) : Bytes{};
  }
  return files;
}

}  // namespace zorvane::testing
