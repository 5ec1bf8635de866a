#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/os_calls.h"

// UTF-8 inside the program, UTF-16 at the Win32 calls.
namespace zorvane::platform::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A path for the Win32 calls: wide, and where it is too long for them without it, full and
// with the "\\?\" prefix (which also takes '/' as '\' first).
std::wstring WidePath(const std::string& path);

// The failure of the last Win32 call, in the words the program shows on every system.
os::Error LastError();

}  // namespace zorvane::platform::win32
