#include "platform/win32/windows_text.h"

#include <algorithm>

namespace zorvane::platform::win32 {

namespace {

// Longer paths need the prefix: MAX_PATH, less the 8.3 name a new folder's path must leave.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12;

}  // namespace

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

std::wstring WidePath(const std::string& path) {
  std::wstring wide = Wide(path);
  if (wide.size() < kLongestPlainPath || wide.starts_with(L"\\\\?\\")) return wide;
  const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  full.resize(::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr));
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

os::Error LastError() {
  const DWORD code = ::GetLastError();
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return {os::ErrorKind::Missing, "No such file or directory"};
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return {os::ErrorKind::Exists, "File exists"};
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return {os::ErrorKind::Other, "Permission denied"};
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return {os::ErrorKind::Other, "No space left on device"};
    case ERROR_DIR_NOT_EMPTY:
      return {os::ErrorKind::Other, "Directory not empty"};
    case ERROR_DIRECTORY:
      return {os::ErrorKind::Other, "Not a directory"};
    case ERROR_FILENAME_EXCED_RANGE:
      return {os::ErrorKind::Other, "File name too long"};
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
      return {os::ErrorKind::NoLinks, "Operation not supported"};
    case ERROR_NOT_SAME_DEVICE:
      return {os::ErrorKind::NoLinks, "Invalid cross-device link"};
    case ERROR_TOO_MANY_LINKS:
      return {os::ErrorKind::NoLinks, "Too many links"};
    default:
      break;
  }
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? Utf8(std::wstring_view(text, length)) : std::string();
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  if (message.empty()) message = "Windows error " + std::to_string(code);
  return {os::ErrorKind::Other, message};
}

}  // namespace zorvane::platform::win32
