#include "graphics/member_view.h"

#include <new>

#include "graphics/sprite_decoder.h"
#include "platform/failure_messages.h"

namespace zorvane::graphics {

platform::Result<platform::InputFile> OpenMemberBytes(const MemberLocation& member) {
  if (!platform::FileExists(member.ArchivePath)) {
    return platform::Status::Failure(member.Name + " cannot be shown: its archive " +
                                     member.ArchivePath + " does not exist.");
  }
  auto archive = platform::InputFile::Open(member.ArchivePath);
  if (!archive) {
    return platform::Status::Failure(
        platform::CannotReadMessage(member.ArchivePath, archive.Reason()));
  }
  const auto length = archive.Value().Length();
  if (member.Offset < 0 || member.Length < 0 ||
      static_cast<std::uint64_t>(member.Offset) + static_cast<std::uint64_t>(member.Length) >
          length) {
    return platform::Status::Failure(
        member.Name + " cannot be shown: its " + std::to_string(member.Length) +
        " bytes at offset " + std::to_string(member.Offset) + " do not lie in " +
        member.ArchivePath + ", which holds " + std::to_string(length) + " bytes.");
  }
  return archive;
}

platform::Result<std::vector<std::uint8_t>> ReadMemberStart(const MemberLocation& member,
                                                            std::size_t most) {
  auto archive = OpenMemberBytes(member);
  if (!archive) return platform::Status::Failure(archive.Reason());
  std::vector<std::uint8_t> bytes(std::min(most, static_cast<std::size_t>(member.Length)));
  if (auto read = archive.Value().ReadAt(static_cast<std::uint64_t>(member.Offset), bytes); !read) {
    return platform::Status::Failure(
        platform::CannotReadMessage(member.ArchivePath, read.Reason()));
  }
  return bytes;
}

SpriteView::SpriteView(platform::InputFile file, const MemberLocation& member)
    : file_(std::move(file)),
      name_(member.Name),
      archivePath_(member.ArchivePath),
      reader_(file_, static_cast<std::uint64_t>(member.Offset),
              static_cast<std::uint64_t>(member.Length)) {}

platform::Result<std::unique_ptr<SpriteView>> SpriteView::Open(const MemberLocation& member) {
  auto archive = OpenMemberBytes(member);
  if (!archive) return platform::Status::Failure(archive.Reason());
  return std::unique_ptr<SpriteView>(new SpriteView(std::move(archive).Value(), member));
}

std::int32_t SpriteView::SubImageCount() const {
  return reader_.TableUsable() ? reader_.Header().ImageCount : 0;
}

platform::Result<ShownSubImage> SpriteView::Decode(std::int32_t index, bool useTransparency) const {
  const auto image = reader_.SubImage(index);
  const auto unreadable = [this] {
    return platform::Status::Failure(
        platform::CannotReadMessage(archivePath_, reader_.ReadFailure().value_or("")));
  };
  if (reader_.ReadFailure()) return unreadable();
  if (!image) {
    return platform::Status::Failure("Sub-image " + std::to_string(index) + " of " + name_ +
                                     " cannot be read: its place in the file or its size is "
                                     "not valid.");
  }
  ShownSubImage shown;
  shown.Header = image->Header;
  shown.HeaderValid = image->HeaderValid;
  try {
    DecodeShpImage(*image, useTransparency, shown.Pixels);
  } catch (const std::bad_alloc&) {
    return platform::Status::Failure(platform::NotEnoughMemoryMessage(
        "show sub-image " + std::to_string(index) + " of " + name_));
  }
  shown.CodedLength = CodedLength(*image);
  if (reader_.ReadFailure()) return unreadable();
  return shown;
}

}  // namespace zorvane::graphics
