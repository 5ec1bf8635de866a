#include "support/temp_folder.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "platform/paths.h"
#include "support/files.h"

namespace zorvane::testing {

namespace {

// Six letters or digits, as mkdtemp makes them: a longer name would not fit the labels that
// show a path of the folder.
std::string SixLetters(std::uint64_t number) {
  std::string letters;
  for (int i = 0; i < 6; ++i, number /= 36) {
    letters.push_back("0123456789abcdefghijklmnopqrstuvwxyz"[number % 36]);
  }
  return letters;
}

}  // namespace

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path().string()) {}

TempFolder::TempFolder(const std::string& parent) {
  static std::mt19937_64 numbers{std::random_device{}()};
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const auto folder = std::filesystem::path(parent) / ("zorvane-test-" + SixLetters(numbers()));
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) {
      path_ = platform::WithTrailingSeparator(folder.string());
    }
  }
  if (path_.empty()) throw std::runtime_error("no temporary folder could be made in " + parent);
}

std::string TempFolder::operator/(const std::string& name) const {
  return path_ + NativePath(name);
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
