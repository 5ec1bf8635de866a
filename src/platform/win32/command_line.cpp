#include "platform/command_line.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/windows_text.h"
// shellapi.h needs what windows.h declares first.
#include <shellapi.h>

namespace zorvane::platform {

// The narrow arguments are in the system's code page, which cannot hold every file name: the
// wide command line is read instead. The console is told to show the UTF-8 the program writes,
// and standard output and error write their bytes as they are, as on POSIX: the messages hold
// their own CR LF, which text mode would make CR CR LF.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  ::SetConsoleOutputCP(CP_UTF8);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

}  // namespace zorvane::platform
