#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::testing {

using Bytes = std::vector<std::uint8_t>;

// The path with '/' written as the platform's separator.
std::string NativePath(std::string path);

// Whether one folder can hold names that differ in case only (not on Windows).
#ifdef _WIN32
inline constexpr bool kNamesDifferingInCaseOnly = false;
#else
inline constexpr bool kNamesDifferingInCaseOnly = true;
#endif

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
