#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/paths.h"

namespace zorvane::platform {

namespace {

Status LastError() {
  return Status::Failure(std::strerror(errno));
}

Status NoSuchFile() {
  return Status::Failure(std::strerror(ENOENT));
}

bool StatIs(const std::string& resolvedPath, mode_t type) {
  if (CutShortBySystem(resolvedPath)) return false;
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
  if (CutShortBySystem(resolved)) return NoSuchFile();
  while (resolved.size() > 1 && resolved.back() == kSeparator) resolved.pop_back();
  if (::mkdir(resolved.c_str(), 0777) != 0) return LastError();
  return Status::Success();
}

std::optional<std::int64_t> EntryChangedAt(const std::string& path) {
  struct stat status {};
  if (::stat(ResolvePath(path).c_str(), &status) != 0) return std::nullopt;
  return std::int64_t{status.st_ctim.tv_sec} * 1'000'000'000 + status.st_ctim.tv_nsec;
}

void RemoveEmptyFolder(const std::string& path) {
  ::rmdir(ResolvePath(path).c_str());
}

Status DeleteResolvedFile(const std::string& resolvedPath) {
  if (auto fault = CheckFault(FileOperation::Delete); !fault) return fault;
  if (::unlink(resolvedPath.c_str()) != 0) return LastError();
  return Status::Success();
}

Status RenameResolvedFile(const std::string& resolvedFrom, const std::string& resolvedTo) {
  if (auto fault = CheckFault(FileOperation::Rename); !fault) return fault;
  if (::rename(resolvedFrom.c_str(), resolvedTo.c_str()) != 0) return LastError();
  return Status::Success();
}

namespace {

// Copies a whole file to a new one, for file systems without hard links.
Status CopyWholeFile(const std::string& from, const std::string& to, bool flush) {
  const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (source < 0) return LastError();
  const int target = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (target < 0) {
    const Status failure = LastError();
    ::close(source);
    return failure;
  }
  std::vector<char> buffer(1 << 20);
  Status status = Status::Success();
  for (;;) {
    const ssize_t got = ::read(source, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) status = LastError();
      break;
    }
    for (ssize_t done = 0; done < got && status;) {
      const ssize_t put =
          ::write(target, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno != EINTR) status = LastError();
      if (put > 0) done += put;
    }
    if (!status) break;
  }
  if (status && flush && ::fsync(target) != 0) status = LastError();
  if (::close(target) != 0 && status) status = LastError();
  ::close(source);
  if (!status) ::unlink(to.c_str());
  return status;
}

}  // namespace

Status LinkOrCopyResolvedFile(const std::string& resolvedExisting, const std::string& resolvedNew,
                              bool flush) {
  if (auto fault = CheckFault(FileOperation::Link); !fault) return fault;
  if (::link(resolvedExisting.c_str(), resolvedNew.c_str()) == 0) return Status::Success();
  if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK &&
      errno != EXDEV) {
    return LastError();
  }
  return CopyWholeFile(resolvedExisting, resolvedNew, flush);
}

Status FlushFolder(const std::string& resolvedFolder) {
  if (auto fault = CheckFault(FileOperation::FolderFlush); !fault) return fault;
  const int descriptor = ::open(resolvedFolder.empty() ? "." : resolvedFolder.c_str(),
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return LastError();
  const bool flushed = ::fsync(descriptor) == 0;
  const Status status = flushed ? Status::Success() : LastError();
  ::close(descriptor);
  return status;
}

Result<std::uint64_t> FileLength(const std::string& path) {
  if (CutShortBySystem(path)) return NoSuchFile();
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
  if (CutShortBySystem(resolved)) return NoSuchFile();
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
