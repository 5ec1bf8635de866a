#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
struct ScratchFolder {
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "zorvane-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    Path = pattern + "/";
  }
  ~ScratchFolder() { std::filesystem::remove_all(Path); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::string Path;  // ends with a separator
};
