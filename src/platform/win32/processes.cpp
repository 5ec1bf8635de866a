#include "platform/processes.h"

#include "platform/win32/windows_text.h"

namespace zorvane::platform {

bool ProcessRuns(long process) {
  if (process <= 0) return false;
  const HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                      static_cast<DWORD>(process));
  // A process of another user cannot be looked at, but it runs.
  if (handle == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  const bool runs = ::WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
  ::CloseHandle(handle);
  return runs;
}

}  // namespace zorvane::platform
