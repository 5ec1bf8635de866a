#include "workloads.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "archive/index_files.h"
#include "floor_files.h"
#include "graphics/bmp_header.h"
#include "graphics/sprite_conversion.h"
#include "graphics/sprite_decoder.h"
#include "graphics/sprite_format.h"
#include "graphics/sprite_packer.h"
#include "platform/copy_range.h"
#include "platform/file_system.h"
#include "platform/safe_file.h"
#include "process_measurement.h"

namespace zorvane::bench {

namespace {

using Clock = std::chrono::steady_clock;

double CpuNow() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Wall and CPU seconds of the part of a child's work that is timed.
class TimedPart {
 public:
  TimedPart() : wall_(Clock::now()), cpu_(CpuNow()) {}
  double Wall() const { return std::chrono::duration<double>(Clock::now() - wall_).count(); }
  double Cpu() const { return CpuNow() - cpu_; }

 private:
  Clock::time_point wall_;
  double cpu_;
};

std::vector<std::uint8_t> ReadMember(const std::string& archivePath, const Member& member) {
  auto archive = platform::InputFile::Open(archivePath);
  if (!archive) Fail("cannot open " + archivePath);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(member.Length));
  if (!archive.Value().ReadAt(static_cast<std::uint64_t>(member.Offset), bytes)) {
    Fail("cannot read " + member.Name + " from " + archivePath);
  }
  return bytes;
}

// The sub-images of a sprite member, each checked.
std::vector<graphics::ShpSubImage> SubImages(const graphics::ShpFileReader& reader,
                                             const std::string& name) {
  std::vector<graphics::ShpSubImage> images;
  for (std::int32_t i = 0; i < reader.Header().ImageCount; ++i) {
    auto image = reader.SubImage(i);
    if (!image || !image->HeaderValid) Fail("sub-image " + std::to_string(i) + " of " + name);
    images.push_back(*image);
  }
  return images;
}

// The size of the BMP the extraction writes for a sub-image: headers, palette and rows padded
// to 4 bytes.
std::int64_t BmpBytes(const graphics::ShpImageHeader& header) {
  const std::int64_t width = header.MaxColumn + 1;
  const std::int64_t height = header.MaxRow + 1;
  return graphics::kBmpPixelOffset + graphics::Stride(width) * height;
}

void WriteFilePlainly(const std::string& path, const std::vector<char>& bytes, std::size_t length) {
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0 || ::write(file, bytes.data(), length) != static_cast<ssize_t>(length) ||
      ::close(file) != 0) {
    Fail("cannot write " + path);
  }
}

}  // namespace

const std::vector<Member>& Installation::MembersOf(const std::string& archive) const {
  for (const auto& [name, members] : Groups) {
    if (name == archive) return members;
  }
  Fail("no archive " + archive + " in " + DataFolder);
}

const Member& Installation::Find(const std::string& archive, const std::string& name) const {
  for (const Member& member : MembersOf(archive)) {
    if (member.Name == name) return member;
  }
  Fail("no member " + name + " in " + archive);
}

const Member& Installation::Longest(const std::string& archive) const {
  const auto& members = MembersOf(archive);
  return *std::max_element(members.begin(), members.end(),
                           [](const Member& a, const Member& b) { return a.Length < b.Length; });
}

Installation ReadInstallation(const std::string& dataFolder) {
  const auto memberBytes = platform::ReadWholeFile(dataFolder + archive::kMemberIndexName);
  const auto archiveBytes = platform::ReadWholeFile(dataFolder + archive::kArchiveIndexName);
  if (!memberBytes || !archiveBytes) Fail("cannot read the index files of " + dataFolder);
  const auto records = archive::ParseMemberIndex(memberBytes.Value()).Records;
  const auto archives = archive::ParseArchiveIndex(archiveBytes.Value());
  Installation installation;
  installation.DataFolder = dataFolder;
  installation.Records = static_cast<std::int64_t>(records.size());
  installation.Archives = static_cast<std::int64_t>(archives.size());
  const auto groups = archive::GroupOfEachRecord(records);
  // The last group is the terminator's.
  for (std::size_t r = 0; r + 1 < records.size(); ++r) {
    const auto k = static_cast<std::size_t>(groups[r]);
    if (k >= archives.size()) Fail("more groups than archives in " + dataFolder);
    if (installation.Groups.size() <= k) {
      installation.Groups.push_back({archive::ComparableName(archives[k].Name), {}});
    }
    installation.Groups.back().second.push_back(
        {archive::ComparableName(records[r].Name), records[r].Offset, records[r].Length});
  }
  return installation;
}

std::vector<double> DescribeSprites(const std::string& archivePath,
                                    const std::vector<Member>& members) {
  double images = 0, pixels = 0, bmpBytes = 0;
  for (const Member& member : members) {
    const auto bytes = ReadMember(archivePath, member);
    const graphics::ShpFileReader reader(bytes);
    for (const auto& image : SubImages(reader, member.Name)) {
      images += 1;
      pixels += (image.Header.MaxColumn + 1.0) * (image.Header.MaxRow + 1.0);
      bmpBytes += static_cast<double>(BmpBytes(image.Header));
    }
  }
  return {images, pixels, bmpBytes};
}

std::vector<double> DecodeRate(const std::string& archivePath, const Member& member,
                               double seconds) {
  const auto bytes = ReadMember(archivePath, member);
  const graphics::ShpFileReader reader(bytes);
  const auto images = SubImages(reader, member.Name);
  graphics::PixelBuffer pixels;
  double decoded = 0;
  const TimedPart timed;
  while (timed.Cpu() < seconds) {
    for (const auto& image : images) {
      graphics::DecodeShpImage(image, true, pixels);
      decoded += static_cast<double>(pixels.Width) * pixels.Height;
    }
  }
  return {timed.Wall(), timed.Cpu(), decoded};
}

std::vector<double> EncodeRate(const std::string& archivePath, const Member& member,
                               double seconds) {
  const auto bytes = ReadMember(archivePath, member);
  const graphics::ShpFileReader reader(bytes);
  std::vector<graphics::PixelBuffer> pictures;
  for (const auto& image : SubImages(reader, member.Name)) {
    graphics::DecodeShpImage(image, true, pictures.emplace_back());
  }
  const auto pack = [&] {
    graphics::SpritePacker packer;
    for (const auto& picture : pictures) {
      if (!packer.Add(picture, true)) Fail("cannot code " + member.Name);
    }
    return packer;
  };
  double picturePixels = 0;
  for (const auto& picture : pictures) picturePixels += double{1} * picture.Width * picture.Height;
  double encoded = 0, codedBytes = 0;
  const TimedPart timed;
  while (timed.Cpu() < seconds) {
    codedBytes += static_cast<double>(pack().PackBuffer().size());
    encoded += picturePixels;
  }
  const double wall = timed.Wall(), cpu = timed.Cpu();
  // The sample's sprites are coded as the tool codes them: coding gives the member back.
  if (pack().FileBytes() != bytes) Fail("coding " + member.Name + " did not give it back");
  if (codedBytes == 0) Fail("nothing coded");
  return {wall, cpu, encoded};
}

namespace {

// The paths and sizes of the BMPs that extracting the members writes into `folder`.
std::vector<std::pair<std::string, std::size_t>> BmpsOf(const std::string& archivePath,
                                                        const std::vector<Member>& members,
                                                        const std::string& folder) {
  std::vector<std::pair<std::string, std::size_t>> files;
  for (const Member& member : members) {
    const auto bytes = ReadMember(archivePath, member);
    const graphics::ShpFileReader reader(bytes);
    std::int32_t number = 0;
    for (const auto& image : SubImages(reader, member.Name)) {
      files.emplace_back(
          folder + graphics::SubImageFileName(member.Name, number++, graphics::PictureFormat::Bmp),
          static_cast<std::size_t>(BmpBytes(image.Header)));
    }
  }
  return files;
}

std::size_t LargestOf(const std::vector<std::pair<std::string, std::size_t>>& files) {
  std::size_t largest = 0;
  for (const auto& file : files) largest = std::max(largest, file.second);
  return largest;
}

}  // namespace

std::vector<double> WriteFilesLikeTheBmps(const std::string& archivePath,
                                          const std::vector<Member>& members,
                                          const std::string& folder) {
  const auto files = BmpsOf(archivePath, members, folder);
  const std::vector<char> content(LargestOf(files), 7);
  const TimedPart timed;
  for (const auto& [path, length] : files) WriteFilePlainly(path, content, length);
  return {timed.Wall(), timed.Cpu()};
}

std::vector<double> StageAndRenameFilesLikeTheBmps(const std::string& archivePath,
                                                   const std::vector<Member>& members,
                                                   const std::string& folder) {
  const auto files = BmpsOf(archivePath, members, folder);
  const std::vector<char> content(LargestOf(files), 7);
  const TimedPart timed;
  for (std::size_t i = 0; i < files.size(); ++i) {
    WriteFilePlainly(folder + ".t" + std::to_string(i), content, files[i].second);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string temporary = folder + ".t" + std::to_string(i);
    if (std::rename(temporary.c_str(), files[i].first.c_str()) != 0) Fail("cannot rename");
  }
  return {timed.Wall(), timed.Cpu()};
}

std::vector<double> WriteFilesLikeThoseIn(const std::string& sourceFolder,
                                          const std::string& folder) {
  std::vector<std::pair<std::string, std::size_t>> files;
  std::size_t largest = 0;
  for (const auto& entry : std::filesystem::directory_iterator(sourceFolder)) {
    if (!entry.is_regular_file()) continue;
    files.emplace_back(folder + entry.path().filename().string(), entry.file_size());
    largest = std::max(largest, files.back().second);
  }
  const std::vector<char> content(largest, 7);
  const TimedPart timed;
  for (const auto& [path, length] : files) WriteFilePlainly(path, content, length);
  return {timed.Wall(), timed.Cpu()};
}

std::vector<double> ReadFiles(const std::vector<std::string>& paths) {
  std::vector<char> buffer(platform::kTransferBufferSize);
  double read = 0;
  for (const std::string& path : paths) {
    const int file = ::open(path.c_str(), O_RDONLY);
    if (file < 0) Fail("cannot open " + path);
    for (ssize_t got; (got = ::read(file, buffer.data(), buffer.size())) > 0;) read += got;
    ::close(file);
  }
  return {read};
}

std::vector<double> ReadFolderAndWriteOne(const std::string& folder, const std::string& target,
                                          std::int64_t length) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  auto read = ReadFiles(paths);
  WriteFilePlainly(target, std::vector<char>(static_cast<std::size_t>(length), 7),
                   static_cast<std::size_t>(length));
  return read;
}

std::vector<double> CopyMembers(const std::string& archivePath, const std::vector<Member>& members,
                                const std::string& folder) {
  auto archive = platform::InputFile::Open(archivePath);
  if (!archive) Fail("cannot open " + archivePath);
  double copied = 0;
  for (const Member& member : members) {
    WriteFileThrough(folder + member.Name + ".SHP", [&](platform::SafeFileWriter& out) {
      return static_cast<bool>(platform::CopyRange(archive.Value(),
                                                   static_cast<std::uint64_t>(member.Offset),
                                                   static_cast<std::uint64_t>(member.Length), out));
    });
    copied += static_cast<double>(member.Length);
  }
  return {copied};
}

std::vector<double> CheckFileIsMember(const std::string& path, const std::string& archivePath,
                                      const Member& member) {
  const auto file = platform::ReadWholeFile(path);
  if (!file || file.Value() != ReadMember(archivePath, member)) {
    Fail(path + " does not hold the bytes of member " + member.Name);
  }
  return {};
}

std::vector<double> CheckFilesEqual(const std::string& first, const std::string& second) {
  auto a = platform::InputFile::Open(first);
  auto b = platform::InputFile::Open(second);
  if (!a || !b || a.Value().Length() != b.Value().Length()) Fail(first + " differs from " + second);
  std::vector<std::uint8_t> bufferA(platform::kTransferBufferSize), bufferB(bufferA.size());
  for (std::uint64_t offset = 0; offset < a.Value().Length(); offset += bufferA.size()) {
    const auto gotA = a.Value().ReadSomeAt(offset, bufferA);
    const auto gotB = b.Value().ReadSomeAt(offset, bufferB);
    if (!gotA || !gotB || gotA.Value() != gotB.Value() ||
        !std::equal(bufferA.begin(), bufferA.begin() + gotA.Value(), bufferB.begin())) {
      Fail(first + " differs from " + second);
    }
  }
  return {};
}

}  // namespace zorvane::bench
