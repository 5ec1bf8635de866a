#pragma once

#include <string>

namespace zorvane::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Path() ends in the separator, like the folders the program keeps.
class TempFolder {
 public:
  TempFolder();
  // The same below `parent` instead of the system's temporary folder.
  explicit TempFolder(const std::string& parent);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // A path below the folder; '/' in `name` becomes the platform's separator.
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace zorvane::testing
