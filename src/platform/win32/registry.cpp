#include "platform/registry.h"

#include "platform/win32/windows_text.h"

namespace zorvane::platform {

std::optional<std::string> MachineRegistryText(std::string_view keyName,
                                               std::string_view valueName) {
  const std::wstring key = win32::Wide(keyName);
  const std::wstring value = win32::Wide(valueName);
  DWORD size = 0;
  constexpr DWORD kTexts = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), kTexts, nullptr, nullptr,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), kTexts, nullptr, text.data(),
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return win32::Utf8(text);
}

}  // namespace zorvane::platform
