#include "platform/os_calls.h"

#include <algorithm>
#include <limits>

#include "platform/win32/windows_text.h"

namespace zorvane::platform::os {

using win32::LastError;
using win32::WidePath;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Native(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

Handle Own(HANDLE handle) {
  return reinterpret_cast<Handle>(handle);
}

Outcome Done(bool succeeded) {
  return succeeded ? Outcome() : Outcome(LastError());
}

// The whole lock of a lock file is one byte far beyond its end: it keeps out other lockers, and
// never the readers of the holder's number at its start.
OVERLAPPED LockPlace() {
  OVERLAPPED place{};
  place.Offset = 0;
  place.OffsetHigh = 0x7fffffff;
  return place;
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED place{};
  place.Offset = static_cast<DWORD>(offset);
  place.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return place;
}

// Why a file could not be opened: Windows refuses to open a folder as a file with "access
// denied", which POSIX calls what it is.
Error OpenFailure(const std::wstring& path) {
  const Error error = LastError();
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return Error{ErrorKind::Other, "Is a directory"};
  }
  return error;
}

}  // namespace

EntryInfo LookAt(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
    return {.Problem = LastError().Text};
  }
  const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool device = (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0;
  return {folder   ? EntryType::Folder
          : device ? EntryType::Other
                   : EntryType::File,
          (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
          {}};
}

// The change time of NTFS (the entry's, unlike the last write time, which a rename or a new
// link leaves as it was).
std::optional<std::int64_t> ChangedAt(const std::string& path) {
  const HANDLE file = ::CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  FILE_BASIC_INFO info{};
  const bool read = ::GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info);
  ::CloseHandle(file);
  if (!read) return std::nullopt;
  const LONGLONG changed =
      info.ChangeTime.QuadPart != 0 ? info.ChangeTime.QuadPart : info.LastWriteTime.QuadPart;
  return static_cast<std::int64_t>(changed) * 100;
}

std::optional<std::string> ExistingSpelling(const std::string& path) {
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  // A search takes '*' and '?' as wildcards; no name of a file holds them.
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("*?") != std::string::npos) {
    return std::nullopt;
  }
  // A drive ("C:") is no entry of a folder (a search would find its current folder's name).
  if (name.size() == 2 && name[1] == ':') {
    if (::GetFileAttributesW(WidePath(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
      return std::nullopt;
    }
    return name;
  }
  WIN32_FIND_DATAW entry{};
  const HANDLE search = ::FindFirstFileExW(WidePath(path).c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  return win32::Utf8(entry.cFileName);
}

Outcome MakeFolder(const std::string& path) {
  return Done(::CreateDirectoryW(WidePath(path).c_str(), nullptr));
}

void RemoveFolder(const std::string& path) {
  ::RemoveDirectoryW(WidePath(path).c_str());
}

Outcome RemoveFile(const std::string& path) {
  return Done(::DeleteFileW(WidePath(path).c_str()));
}

Outcome Rename(const std::string& from, const std::string& to) {
  return Done(::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

Outcome Link(const std::string& existing, const std::string& newName) {
  return Done(::CreateHardLinkW(WidePath(newName).c_str(), WidePath(existing).c_str(), nullptr));
}

// Windows flushes a folder's names through a handle of the folder opened for writing, which
// only some file systems and users are given; where it is refused, the renames made with
// MOVEFILE_WRITE_THROUGH and the journal of NTFS carry the names to the disk.
Outcome FlushFolder(const std::string& folder) {
  const HANDLE handle =
      ::CreateFileW(WidePath(folder.empty() ? "." : folder).c_str(), GENERIC_READ | GENERIC_WRITE,
                    kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const Error error = LastError();
    if (error.Kind == ErrorKind::Missing) return error;
    return {};
  }
  ::FlushFileBuffers(handle);
  ::CloseHandle(handle);
  return {};
}

Outcome OpenToRead(const std::string& path, Handle& handle, std::uint64_t& length) {
  const std::wstring wide = WidePath(path);
  const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return OpenFailure(wide);
  LARGE_INTEGER size{};
  if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
    ::CloseHandle(file);
    return Error{ErrorKind::Other, "Not a regular file"};
  }
  handle = Own(file);
  length = static_cast<std::uint64_t>(size.QuadPart);
  return {};
}

Outcome CreateNew(const std::string& path, Handle& handle) {
  const HANDLE file =
      ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return LastError();
  handle = Own(file);
  return {};
}

// A replaced file keeps its read-only attribute through its new version.
void CopyPermissions(const std::string& model, Handle handle) {
  const DWORD attributes = ::GetFileAttributesW(WidePath(model).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  FILE_BASIC_INFO info{};
  if (::GetFileInformationByHandleEx(Native(handle), FileBasicInfo, &info, sizeof info)) {
    info.FileAttributes |= FILE_ATTRIBUTE_READONLY;
    ::SetFileInformationByHandle(Native(handle), FileBasicInfo, &info, sizeof info);
  }
}

Result<std::size_t> ReadSomeAt(Handle handle, std::uint64_t offset, std::span<std::uint8_t> out) {
  std::size_t done = 0;
  while (done < out.size()) {
    const DWORD wanted = static_cast<DWORD>(
        std::min<std::size_t>(out.size() - done, std::numeric_limits<DWORD>::max() / 2));
    OVERLAPPED place = At(offset + done);
    DWORD got = 0;
    if (!::ReadFile(Native(handle), out.data() + done, wanted, &got, &place)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      return Status::Failure(LastError().Text);
    }
    if (got == 0) break;
    done += got;
  }
  return done;
}

Outcome WriteAll(Handle handle, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(
        std::min<std::size_t>(bytes.size() - done, std::numeric_limits<DWORD>::max() / 2));
    DWORD put = 0;
    if (!::WriteFile(Native(handle), bytes.data() + done, wanted, &put, nullptr)) {
      return LastError();
    }
    done += put;
  }
  return {};
}

Outcome Sync(Handle handle) {
  return Done(::FlushFileBuffers(Native(handle)));
}

Outcome Close(Handle handle) {
  return Done(::CloseHandle(Native(handle)));
}

Outcome OpenLockFile(const std::string& path, bool writable, Handle& handle) {
  const std::wstring wide = WidePath(path);
  const HANDLE file = ::CreateFileW(
      wide.c_str(), writable ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ, kShareAll, nullptr,
      writable ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return OpenFailure(wide);
  handle = Own(file);
  return {};
}

// As with flock, a lock held already is let go before the new one is asked for.
bool TryLock(Handle handle, bool exclusive) {
  OVERLAPPED place = LockPlace();
  ::UnlockFileEx(Native(handle), 0, 1, 0, &place);
  place = LockPlace();
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return ::LockFileEx(Native(handle), flags, 0, 1, 0, &place) != 0;
}

void RewriteLockFile(Handle handle, std::string_view text) {
  LARGE_INTEGER start{};
  if (!::SetFilePointerEx(Native(handle), start, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(Native(handle)) || text.empty()) {
    return;
  }
  OVERLAPPED place = At(0);
  DWORD put = 0;
  ::WriteFile(Native(handle), text.data(), static_cast<DWORD>(text.size()), &put, &place);
}

long CurrentProcess() {
  return static_cast<long>(::GetCurrentProcessId());
}

std::string CurrentFolder() {
  const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(size, L'\0');
  folder.resize(::GetCurrentDirectoryW(size, folder.data()));
  return win32::Utf8(folder);
}

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return CurrentFolder();
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);
  }
  return win32::Utf8(path.substr(0, path.find_last_of(L"\\/")));
}

// Whether a file can be made in the folder: the folder's permissions decide, which its
// read-only attribute does not tell.
bool FolderWritable(const std::string& folder) {
  const HANDLE probe =
      ::CreateFileW(WidePath(folder + "\\.zorvane-write-test").c_str(), GENERIC_WRITE, 0, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
  ::CloseHandle(probe);
  return true;
}

// %APPDATA%\Zorvane for both the palettes and the settings, else the user's profile folder.
std::string UserFolder(UserFolderKind) {
  for (const wchar_t* variable : {L"APPDATA", L"USERPROFILE"}) {
    const DWORD size = ::GetEnvironmentVariableW(variable, nullptr, 0);
    if (size == 0) continue;
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(variable, value.data(), size));
    if (!value.empty()) return win32::Utf8(value) + "\\Zorvane";
  }
  return CurrentFolder() + "\\Zorvane";
}

}  // namespace zorvane::platform::os
