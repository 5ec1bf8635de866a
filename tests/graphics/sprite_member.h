#pragma once

#include <memory>
#include <stdexcept>

#include "graphics/sprite_format.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::graphics {

// A sprite file as a member of an archive: on disk between bytes of 0xFF (which would read as
// codes if the reader ever passed the member's end), read through windows of `windowSize`
// bytes. A window size of 0 reads the sprite file from memory instead.
class SpriteMember {
 public:
  static constexpr std::size_t kBytesBefore = 37;

  SpriteMember(const std::vector<std::uint8_t>& sprite, std::size_t windowSize) : sprite_(sprite) {
    if (windowSize == 0) {
      reader_ = std::make_unique<ShpFileReader>(sprite_);
      return;
    }
    std::vector<std::uint8_t> archive(kBytesBefore + sprite.size() + 64, 0xFF);
    std::copy(sprite.begin(), sprite.end(), archive.begin() + kBytesBefore);
    testing::WriteFile(ArchivePath(), archive);
    auto file = platform::InputFile::Open(ArchivePath());
    if (!file) throw std::runtime_error(file.Reason());
    file_ = std::make_unique<platform::InputFile>(std::move(file).Value());
    reader_ = std::make_unique<ShpFileReader>(*file_, kBytesBefore, sprite.size(), windowSize);
  }

  const ShpFileReader& Reader() const { return *reader_; }
  std::string ArchivePath() const { return temp_ / "SHP.PFP"; }

 private:
  std::vector<std::uint8_t> sprite_;
  testing::TempFolder temp_;
  std::unique_ptr<platform::InputFile> file_;
  std::unique_ptr<ShpFileReader> reader_;
};

}  // namespace zorvane::graphics
