#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

Status LastError() {
  return Status::Failure(std::strerror(errno));
}

bool StatIs(const std::string& resolvedPath, mode_t type) {
  struct stat info {};
  return ::stat(resolvedPath.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

}  // namespace

bool FileExists(const std::string& path) {
  return !path.empty() && StatIs(ResolvePath(path), S_IFREG);
}

bool FolderExists(const std::string& path) {
  return !path.empty() && StatIs(ResolvePath(path), S_IFDIR);
}

bool ResolvedFileExists(const std::string& resolvedPath) {
  return !resolvedPath.empty() && StatIs(resolvedPath, S_IFREG);
}

Status CreateFolder(const std::string& path) {
  if (FolderExists(path)) return Status::Success();
  if (auto fault = CheckFault(FileOperation::CreateFolder); !fault) return fault;
  std::string resolved = ResolvePath(path);
  while (resolved.size() > 1 && resolved.back() == kSeparator) resolved.pop_back();
  if (::mkdir(resolved.c_str(), 0777) != 0) return LastError();
  return Status::Success();
}

Status DeleteFile(const std::string& path) {
  return DeleteResolvedFile(ResolvePath(path));
}

Status DeleteResolvedFile(const std::string& resolvedPath) {
  if (auto fault = CheckFault(FileOperation::Delete); !fault) return fault;
  if (::unlink(resolvedPath.c_str()) != 0) return LastError();
  return Status::Success();
}

Status MoveFile(const std::string& from, const std::string& to) {
  return MoveResolvedFile(ResolvePath(from), ResolvePath(to));
}

Status MoveResolvedFile(const std::string& resolvedFrom, const std::string& resolvedTo) {
  struct stat info {};
  if (::lstat(resolvedTo.c_str(), &info) == 0) return Status::Failure("File exists");
  if (auto fault = CheckFault(FileOperation::Rename); !fault) return fault;
  if (::rename(resolvedFrom.c_str(), resolvedTo.c_str()) != 0) return LastError();
  return Status::Success();
}

Result<std::uint64_t> FileLength(const std::string& path) {
  struct stat info {};
  if (::stat(ResolvePath(path).c_str(), &info) != 0) return LastError();
  return static_cast<std::uint64_t>(info.st_size);
}

Result<Bytes> ReadWholeFile(const std::string& path) {
  auto file = InputFile::Open(path);
  if (!file) return Status::Failure(file.Reason());
  Bytes bytes(file.Value().Length());
  if (auto read = file.Value().ReadAt(0, bytes); !read) return read;
  return bytes;
}

Result<InputFile> InputFile::Open(const std::string& path) {
  return OpenResolved(ResolvePath(path));
}

Result<InputFile> InputFile::OpenResolved(const std::string& resolved) {
  // Without O_NONBLOCK, opening a named pipe would wait for a writer forever; a regular file
  // reads the same either way.
  const int descriptor = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return LastError();
  struct stat info {};
  const bool described = ::fstat(descriptor, &info) == 0;
  if (!described || !S_ISREG(info.st_mode)) {
    const Status failure = !described              ? LastError()
                           : S_ISDIR(info.st_mode) ? Status::Failure("Is a directory")
                                                   : Status::Failure("Not a regular file");
    ::close(descriptor);
    return failure;
  }
  return InputFile(descriptor, static_cast<std::uint64_t>(info.st_size), resolved);
}

InputFile::InputFile(InputFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      length_(other.length_),
      path_(std::move(other.path_)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    length_ = other.length_;
    path_ = std::move(other.path_);
  }
  return *this;
}

InputFile::~InputFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

Result<std::size_t> InputFile::ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(descriptor_, out.data() + done, out.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

Status InputFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
  auto got = ReadSomeAt(offset, out);
  if (!got) return Status::Failure(got.Reason());
  if (got.Value() != out.size()) return Status::Failure("The file ends too early");
  return Status::Success();
}

}  // namespace zorvane::platform
