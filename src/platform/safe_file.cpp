#include "platform/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/paths.h"

namespace zorvane::platform {

std::string UniqueSiblingName(const std::string& resolved, std::string_view purpose) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  std::string name = FolderPart(resolved) + "." + FileNamePart(resolved) + ".zorvane-";
  if (!purpose.empty()) name.append(purpose).append("-");
  return name + std::to_string(::getpid()) + "-" + std::to_string(seed % 100000) + "-" +
         std::to_string(counter++);
}

namespace {

Status LastError() {
  return Status::Failure(std::strerror(errno));
}

void SyncFolderOf(const std::string& path) {
  const std::string folder = FolderPart(path);
  const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor >= 0) {
    ::fsync(descriptor);
    ::close(descriptor);
  }
}

}  // namespace

Result<SafeFileWriter> SafeFileWriter::Create(const std::string& target, Durability durability) {
  return CreateResolved(ResolvePath(target), durability);
}

Result<SafeFileWriter> SafeFileWriter::CreateResolved(const std::string& resolved,
                                                      Durability durability) {
  if (auto fault = CheckFault(FileOperation::Create); !fault) return fault;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string temporary = UniqueSiblingName(resolved);
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      struct stat existing {};
      if (::stat(resolved.c_str(), &existing) == 0) ::fchmod(descriptor, existing.st_mode & 07777);
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
      durability_(other.durability_) {}

SafeFileWriter& SafeFileWriter::operator=(SafeFileWriter&& other) noexcept {
  if (this != &other) {
    Abandon();
    descriptor_ = std::exchange(other.descriptor_, -1);
    target_ = std::move(other.target_);
    temporary_ = std::exchange(other.temporary_, {});
    durability_ = other.durability_;
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

Status SafeFileWriter::Commit() {
  if (descriptor_ >= 0) {
    if (auto flushed = Flush(); !flushed) return flushed;
  }
  if (temporary_.empty()) return Status::Failure("The file is closed");
  if (auto fault = CheckFault(FileOperation::Rename); !fault) return fault;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return LastError();
  temporary_.clear();
  if (durability_ == Durability::Synced) SyncFolderOf(target_);
  return Status::Success();
}

Status ReplaceFile(const std::string& target, std::span<const std::uint8_t> bytes,
                   Durability durability) {
  auto writer = SafeFileWriter::Create(target, durability);
  if (!writer) return Status::Failure(writer.Reason());
  if (auto written = writer.Value().Write(bytes); !written) return written;
  return writer.Value().Commit();
}

Status ReplaceFile(const std::string& target, std::string_view text, Durability durability) {
  return ReplaceFile(target,
                     std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                     durability);
}

}  // namespace zorvane::platform
