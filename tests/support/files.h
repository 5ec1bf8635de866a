#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::testing {

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes);
void WriteFile(const std::string& path, std::string_view text);
Bytes ReadFile(const std::string& path);
std::string ReadText(const std::string& path);
Bytes BytesOf(std::string_view text);

// Every file below a folder (names relative to it, '/' between parts) with its bytes, the lock
// files of the folders left out: compare two snapshots to prove that a refused command changed
// nothing on disk.
std::map<std::string, Bytes> SnapshotFolder(const std::string& folder);

}  // namespace zorvane::testing
