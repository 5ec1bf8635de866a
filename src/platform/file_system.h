#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/result.h"

// Files and folders. Every function resolves the path it is given without regard to case
// (ResolvePath) before it touches the disk.
namespace zorvane::platform {

using Bytes = std::vector<std::uint8_t>;

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates one folder; its parent must exist. Succeeds when the folder exists already.
Status CreateFolder(const std::string& path);
// Creates a folder and every missing folder above it.
Status CreateFolderWithParents(const std::string& path);
// Removes a folder when it is empty; leaves it as it is otherwise.
void RemoveEmptyFolder(const std::string& path);

// The same for paths resolved already (ResolvePath, ResolvedFolder): nothing is looked up, so
// replacing thousands of files in one folder never scans it.
bool ResolvedFileExists(const std::string& resolvedPath);
Status DeleteResolvedFile(const std::string& resolvedPath);
// Renames a file over `resolvedTo` in one step: whoever looks finds the old file or the new one
// under that name, never none.
Status RenameResolvedFile(const std::string& resolvedFrom, const std::string& resolvedTo);
// Gives the file `resolvedExisting` the second name `resolvedNew` (a hard link), which must not
// exist. Where the file system has no hard links (FAT, exFAT), `resolvedNew` becomes a copy,
// forced to the disk when `flush` is set.
Status LinkOrCopyResolvedFile(const std::string& resolvedExisting, const std::string& resolvedNew,
                              bool flush);
// Forces the entries of a folder (names made, renamed or deleted in it) to the disk.
Status FlushFolder(const std::string& resolvedFolder);

Result<std::uint64_t> FileLength(const std::string& path);
// When the file's entry last changed (written, renamed, linked), in nanoseconds; nothing when
// it cannot be looked at.
std::optional<std::int64_t> EntryChangedAt(const std::string& path);
Result<Bytes> ReadWholeFile(const std::string& path);

struct OpenReader;

// A file opened for reading at any position. Where the system cannot replace a file that is
// open (Windows), replacing a file through RenameResolvedFile() closes this process's readers
// of it first: their reads fail from then on, as what they read is gone.
class InputFile {
 public:
  static Result<InputFile> Open(const std::string& path);
  // The same for a path resolved already (a name from a listing of a resolved folder), which
  // spares looking at each of its parts again.
  static Result<InputFile> OpenResolved(const std::string& resolved);

  std::uint64_t Length() const { return length_; }
  // Reads exactly `out.size()` bytes from `offset`; fails when the file holds fewer.
  Status ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  // Reads up to `out.size()` bytes from `offset`; returns how many there were.
  Result<std::size_t> ReadSomeAt(std::uint64_t offset, std::span<std::uint8_t> out) const;

 private:
  InputFile(std::shared_ptr<OpenReader> reader, std::uint64_t length)
      : reader_(std::move(reader)), length_(length) {}
  std::shared_ptr<OpenReader> reader_;
  std::uint64_t length_ = 0;
};

}  // namespace zorvane::platform
