#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

constexpr std::string_view kTemporaryPrefix = ".zv-";
constexpr std::string_view kForeignTemporaryPrefix = ".zx-";

std::string_view PrefixOf(TemporaryOwner owner) {
  return owner == TemporaryOwner::ThisFolder ? kTemporaryPrefix : kForeignTemporaryPrefix;
}

std::string InBase36(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdefghijklmnopqrstuvwxyz"[number % 36]);
    number /= 36;
  } while (number > 0);
  return digits;
}

// The next name of the sequence, which may exist (a left-over): creating it with O_EXCL tells.

std::string NextTemporaryNameBeside(const std::string& resolved, TemporaryOwner owner) {
  static std::atomic<std::uint64_t> counter{0};
  return FolderPart(resolved) + std::string(PrefixOf(owner)) + InBase36(counter++);
}

}  // namespace

std::string TemporaryNameBeside(const std::string& resolved, TemporaryOwner owner) {
  for (;;) {
    std::string name = NextTemporaryNameBeside(resolved, owner);
    struct stat existing {};
    if (::lstat(name.c_str(), &existing) != 0) return name;
  }
}

bool IsTemporaryName(std::string_view fileName, TemporaryOwner owner) {
  const std::string_view prefix = PrefixOf(owner);
  if (!fileName.starts_with(prefix) || fileName.size() == prefix.size()) return false;
  return fileName.substr(prefix.size()).find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz") ==
         std::string_view::npos;
}

bool IsTemporaryName(std::string_view fileName) {
  return IsTemporaryName(fileName, TemporaryOwner::ThisFolder) ||
         IsTemporaryName(fileName, TemporaryOwner::JournalElsewhere);
}

namespace {

Status LastError() {
  return Status::Failure(std::strerror(errno));
}

}  // namespace

Result<SafeFileWriter> SafeFileWriter::Create(const std::string& target, Durability durability) {
  return CreateResolved(ResolvePath(target), durability);
}

Result<SafeFileWriter> SafeFileWriter::CreateResolved(const std::string& resolved,
                                                      Durability durability, TemporaryOwner owner,
                                                      bool targetNew) {
  if (auto fault = CheckFault(FileOperation::Create); !fault) return fault;
  for (int attempt = 0; attempt < 64; ++attempt) {
    std::string temporary = NextTemporaryNameBeside(resolved, owner);
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      struct stat existing {};
      if (!targetNew && ::stat(resolved.c_str(), &existing) == 0) {
        ::fchmod(descriptor, existing.st_mode & 07777);
      }
      return SafeFileWriter(descriptor, resolved, std::move(temporary), durability);
    }
    if (errno != EEXIST) return LastError();
  }
  return LastError();
}

SafeFileWriter::SafeFileWriter(SafeFileWriter&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      durability_(other.durability_),
      length_(other.length_),
      checksum_(other.checksum_) {}

SafeFileWriter& SafeFileWriter::operator=(SafeFileWriter&& other) noexcept {
  if (this != &other) {
    Abandon();
    descriptor_ = std::exchange(other.descriptor_, -1);
    target_ = std::move(other.target_);
    temporary_ = std::exchange(other.temporary_, {});
    durability_ = other.durability_;
    length_ = other.length_;
    checksum_ = other.checksum_;
  }
  return *this;
}

SafeFileWriter::~SafeFileWriter() {
  Abandon();
}

void SafeFileWriter::Abandon() {
  if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
  if (!temporary_.empty()) ::unlink(std::exchange(temporary_, {}).c_str());
}

Status SafeFileWriter::Write(std::span<const std::uint8_t> bytes) {
  if (descriptor_ < 0) return Status::Failure("The file is closed");
  if (auto fault = CheckFault(FileOperation::Write); !fault) return fault;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(descriptor_, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    done += static_cast<std::size_t>(put);
  }
  length_ += bytes.size();
  checksum_.Add(bytes);
  return Status::Success();
}

Status SafeFileWriter::Write(std::string_view text) {
  return Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Status SafeFileWriter::Flush() {
  if (descriptor_ < 0) return Status::Failure("The file is closed");
  if (auto fault = CheckFault(FileOperation::Flush); !fault) return fault;
  if (durability_ == Durability::Synced && ::fsync(descriptor_) != 0) return LastError();
  const int descriptor = std::exchange(descriptor_, -1);
  if (::close(descriptor) != 0) return LastError();
  return Status::Success();
}

std::string SafeFileWriter::Release() {
  return std::exchange(temporary_, {});
}

}  // namespace zorvane::platform
