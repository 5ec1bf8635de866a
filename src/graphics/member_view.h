#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/picture_state.h"
#include "graphics/sprite_format.h"
#include "platform/file_system.h"
#include "platform/result.h"

// Reading a member of an archive to show it: its first bytes, or the sub-images of a sprite or
// tile file one at a time. Nothing here writes, and nothing is read before it is shown.
namespace zorvane::graphics {

// Where a member's bytes lie, as its index record says.
struct MemberLocation {
  std::string ArchivePath;
  std::string Name;
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
};

// The archive, open, once it is known to hold the member's bytes; otherwise why not, in words.
platform::Result<platform::InputFile> OpenMemberBytes(const MemberLocation& member);

// The member's first bytes, at most `most` of them.
platform::Result<std::vector<std::uint8_t>> ReadMemberStart(const MemberLocation& member,
                                                            std::size_t most);

// One sub-image as it is shown: its header, the bytes its rows are coded in, and its picture.
struct ShownSubImage {
  ShpImageHeader Header;
  bool HeaderValid = false;
  std::uint64_t CodedLength = 0;
  PixelBuffer Pixels;
};

// A sprite or tile member, open for showing its sub-images one at a time.
class SpriteView {
 public:
  static platform::Result<std::unique_ptr<SpriteView>> Open(const MemberLocation& member);
  SpriteView(const SpriteView&) = delete;
  SpriteView& operator=(const SpriteView&) = delete;

  // 0 when the file's table cannot be used.
  std::int32_t SubImageCount() const;
  // The sub-image decoded as a BMP of it would be (index 213 for a transparent pixel when
  // `useTransparency`), or why it cannot be shown.
  platform::Result<ShownSubImage> Decode(std::int32_t index, bool useTransparency) const;

 private:
  SpriteView(platform::InputFile file, const MemberLocation& member);

  platform::InputFile file_;
  std::string name_;
  std::string archivePath_;
  ShpFileReader reader_;
};

}  // namespace zorvane::graphics
