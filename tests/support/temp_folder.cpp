#include "support/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace zorvane::testing {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path().string()) {}

TempFolder::TempFolder(const std::string& parent) {
  std::string pattern = (std::filesystem::path(parent) / "zorvane-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
}

TempFolder::~TempFolder() {
  std::error_code error;
  // Folders made read-only by a test must become writable again before they can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    }
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

}  // namespace zorvane::testing
