#include "platform/start_program.h"

#include "platform/paths.h"
#include "platform/win32/windows_text.h"

namespace zorvane::platform {

bool StartProgram(const std::string& path) {
  const std::wstring program = win32::WidePath(ResolvePath(path));
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, nullptr, &startup, &started)) {
    return false;
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  return true;
}

}  // namespace zorvane::platform
