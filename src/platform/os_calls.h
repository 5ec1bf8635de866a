#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/result.h"

// The calls into the operating system that the rest of the platform layer builds on; posix/ and
// win32/ each implement them. Paths are UTF-8 and resolved already: nothing here matches names
// without regard to case. Failures carry the system's own words ("No such file or directory").
namespace zorvane::platform::os {

// Whether a file that is open cannot be renamed over (Windows), so that the program must close
// its own readers of a file before it replaces it.
#ifdef _WIN32
inline constexpr bool kOpenFilesBlockReplacing = true;
#else
inline constexpr bool kOpenFilesBlockReplacing = false;
#endif

// Whether the system itself finds names without regard to case (Windows): then ExistingSpelling
// answers for every spelling, and no folder needs to be read to find one.
#ifdef _WIN32
inline constexpr bool kLookupIgnoresCase = true;
#else
inline constexpr bool kLookupIgnoresCase = false;
#endif

// An open file: a descriptor, or a Windows handle.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

// What went wrong, where a caller acts on it.
enum class ErrorKind { Missing, Exists, NoLinks, Other };

struct Error {
  ErrorKind Kind = ErrorKind::Other;
  std::string Text;
};

// Nothing on success.
using Outcome = std::optional<Error>;

inline Status StatusOf(const Outcome& outcome) {
  return outcome ? Status::Failure(outcome->Text) : Status::Success();
}

enum class EntryType { None, File, Folder, Other };

struct EntryInfo {
  EntryType Type = EntryType::None;  // None: missing, or it cannot be looked at
  std::uint64_t Length = 0;
  std::string Problem;  // with None: why
};

// What a path names, following links.
EntryInfo LookAt(const std::string& path);
// When the entry last changed (written, renamed, linked), in nanoseconds from some fixed moment.
std::optional<std::int64_t> ChangedAt(const std::string& path);
// The name of the last part of `path` as its folder spells it, where the system finds one for
// it (a dangling link included): on POSIX the name exactly as given, on Windows the name that
// matches without regard to case.
std::optional<std::string> ExistingSpelling(const std::string& path);

Outcome MakeFolder(const std::string& path);
// Removes a folder when it is empty.
void RemoveFolder(const std::string& path);
Outcome RemoveFile(const std::string& path);
// Renames over an existing file in one step.
Outcome Rename(const std::string& from, const std::string& to);
// A second name of the same file; ErrorKind::NoLinks where the file system has no hard links.
Outcome Link(const std::string& existing, const std::string& newName);
// Forces the names made, renamed or deleted in a folder (empty: the current one) to the disk.
Outcome FlushFolder(const std::string& folder);

// Opens a regular file for reading; fails for a folder or a device. `length` is its length.
Outcome OpenToRead(const std::string& path, Handle& handle, std::uint64_t& length);
// Creates a file that does not exist yet, for writing; ErrorKind::Exists when it does.
Outcome CreateNew(const std::string& path, Handle& handle);
// Gives the new file the permissions of the file at `model`, where there is one.
void CopyPermissions(const std::string& model, Handle handle);
Result<std::size_t> ReadSomeAt(Handle handle, std::uint64_t offset, std::span<std::uint8_t> out);
Outcome WriteAll(Handle handle, std::span<const std::uint8_t> bytes);
// Forces what was written to the disk.
Outcome Sync(Handle handle);
Outcome Close(Handle handle);

// A lock file, created when missing where `writable`; ErrorKind::Missing when its folder is.
Outcome OpenLockFile(const std::string& path, bool writable, Handle& handle);
// Takes the lock of the whole file without waiting: shared, or exclusive. False while another
// process holds it the other way.
bool TryLock(Handle handle, bool exclusive);
// Replaces what the lock file holds with `text`.
void RewriteLockFile(Handle handle, std::string_view text);

// The number of this process.
long CurrentProcess();

// The current folder of the process.
std::string CurrentFolder();
// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();
bool FolderWritable(const std::string& folder);
// The per-user folders of an installed program: where its data, and its settings, persist.
enum class UserFolderKind { Data, Settings };
std::string UserFolder(UserFolderKind kind);

}  // namespace zorvane::platform::os
