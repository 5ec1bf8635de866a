#include "platform/os_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace zorvane::platform::os {

namespace {

Error LastError() {
  const int error = errno;
  const ErrorKind kind = error == ENOENT || error == ENOTDIR ? ErrorKind::Missing
                         : error == EEXIST                   ? ErrorKind::Exists
                         : error == EPERM || error == EOPNOTSUPP || error == ENOSYS ||
                                 error == EMLINK || error == EXDEV
                             ? ErrorKind::NoLinks
                             : ErrorKind::Other;
  return Error{kind, std::strerror(error)};
}

Outcome Done(bool succeeded) {
  return succeeded ? Outcome() : Outcome(LastError());
}

int Descriptor(Handle handle) {
  return static_cast<int>(handle);
}

}  // namespace

EntryInfo LookAt(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {.Problem = LastError().Text};
  const EntryType type = S_ISREG(info.st_mode)   ? EntryType::File
                         : S_ISDIR(info.st_mode) ? EntryType::Folder
                                                 : EntryType::Other;
  return {type, static_cast<std::uint64_t>(info.st_size), {}};
}

std::optional<std::int64_t> ChangedAt(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::int64_t{info.st_ctim.tv_sec} * 1'000'000'000 + info.st_ctim.tv_nsec;
}

std::optional<std::string> ExistingSpelling(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
  return path.substr(path.find_last_of('/') + 1);
}

Outcome MakeFolder(const std::string& path) {
  return Done(::mkdir(path.c_str(), 0777) == 0);
}

void RemoveFolder(const std::string& path) {
  ::rmdir(path.c_str());
}

Outcome RemoveFile(const std::string& path) {
  return Done(::unlink(path.c_str()) == 0);
}

Outcome Rename(const std::string& from, const std::string& to) {
  return Done(::rename(from.c_str(), to.c_str()) == 0);
}

Outcome Link(const std::string& existing, const std::string& newName) {
  return Done(::link(existing.c_str(), newName.c_str()) == 0);
}

Outcome FlushFolder(const std::string& folder) {
  const int descriptor =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return LastError();
  const Outcome outcome = Done(::fsync(descriptor) == 0);
  ::close(descriptor);
  return outcome;
}

Outcome OpenToRead(const std::string& path, Handle& handle, std::uint64_t& length) {
  // Without O_NONBLOCK, opening a named pipe would wait for a writer forever; a regular file
  // reads the same either way.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return LastError();
  struct stat info {};
  const bool described = ::fstat(descriptor, &info) == 0;
  if (!described || !S_ISREG(info.st_mode)) {
    const Error error = !described              ? LastError()
                        : S_ISDIR(info.st_mode) ? Error{ErrorKind::Other, "Is a directory"}
                                                : Error{ErrorKind::Other, "Not a regular file"};
    ::close(descriptor);
    return error;
  }
  handle = descriptor;
  length = static_cast<std::uint64_t>(info.st_size);
  return {};
}

Outcome CreateNew(const std::string& path, Handle& handle) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return LastError();
  handle = descriptor;
  return {};
}

void CopyPermissions(const std::string& model, Handle handle) {
  struct stat existing {};
  if (::stat(model.c_str(), &existing) == 0) ::fchmod(Descriptor(handle), existing.st_mode & 07777);
}

Result<std::size_t> ReadSomeAt(Handle handle, std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t got = ::pread(Descriptor(handle), out.data() + done, out.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::Failure(LastError().Text);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

Outcome WriteAll(Handle handle, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(Descriptor(handle), bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    done += static_cast<std::size_t>(put);
  }
  return {};
}

Outcome Sync(Handle handle) {
  return Done(::fsync(Descriptor(handle)) == 0);
}

Outcome Close(Handle handle) {
  return Done(::close(Descriptor(handle)) == 0);
}

Outcome OpenLockFile(const std::string& path, bool writable, Handle& handle) {
  const int descriptor = writable ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)
                                  : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return LastError();
  handle = descriptor;
  return {};
}

bool TryLock(Handle handle, bool exclusive) {
  const int operation = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  int result = 0;
  do {
    result = ::flock(Descriptor(handle), operation);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

void RewriteLockFile(Handle handle, std::string_view text) {
  if (::ftruncate(Descriptor(handle), 0) == 0 && !text.empty()) {
    (void)!::pwrite(Descriptor(handle), text.data(), text.size(), 0);
  }
}

long CurrentProcess() {
  return static_cast<long>(::getpid());
}

std::string CurrentFolder() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::string ExecutableFolder() {
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path().string();
  return executable.parent_path().string();
}

bool FolderWritable(const std::string& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

// $XDG_DATA_HOME/Zorvane, else ~/.local/share/Zorvane; $XDG_CONFIG_HOME/Zorvane, else
// ~/.config/Zorvane.
std::string UserFolder(UserFolderKind kind) {
  const bool data = kind == UserFolderKind::Data;
  if (const char* xdg = std::getenv(data ? "XDG_DATA_HOME" : "XDG_CONFIG_HOME");
      xdg != nullptr && *xdg != '\0') {
    return std::string(xdg) + "/Zorvane";
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + (data ? "/.local/share" : "/.config") +
         "/Zorvane";
}

}  // namespace zorvane::platform::os
