#include "support/child_process.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>
#include <utility>

#ifdef _WIN32
#include "platform/win32/windows_text.h"
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace zorvane::testing {

namespace {

constexpr char kChildOption[] = "--zorvane-child";

std::map<std::string, ChildWork>& Works() {
  static std::map<std::string, ChildWork> works;
  return works;
}

int Do(const std::string& name, const std::vector<std::string>& args) {
  const auto found = Works().find(name);
  return found == Works().end() ? 120 : found->second(args);
}

#ifdef _WIN32
using platform::win32::Wide;

// One argument of a command line, quoted as CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}
#endif

}  // namespace

bool RegisterChildWork(const std::string& name, ChildWork work) {
  Works()[name] = std::move(work);
  return true;
}

ChildProcess ChildProcess::Start(const std::string& name, const std::vector<std::string>& args) {
#ifdef _WIN32
  std::wstring self(MAX_PATH, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  std::wstring commandLine =
      Quoted(self) + L" " + Quoted(Wide(kChildOption)) + L" " + Quoted(Wide(name));
  for (const std::string& arg : args) commandLine += L" " + Quoted(Wide(arg));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
    return ChildProcess(-1, -1);
  }
  ::CloseHandle(started.hThread);
  return ChildProcess(static_cast<long>(started.dwProcessId),
                      reinterpret_cast<std::intptr_t>(started.hProcess));
#else
  std::vector<std::string> words{"/proc/self/exe", kChildOption, name};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    return ChildProcess(-1, -1);
  }
  return ChildProcess(child, child);
#endif
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : id_(std::exchange(other.id_, -1)),
      handle_(std::exchange(other.handle_, -1)),
      exitCode_(other.exitCode_) {}

ChildProcess::~ChildProcess() {
  if (handle_ != -1) Wait();
}

int ChildProcess::Wait() {
  if (exitCode_) return *exitCode_;
  if (handle_ == -1) return -1;
#ifdef _WIN32
  const HANDLE process = reinterpret_cast<HANDLE>(handle_);
  DWORD code = 0;
  ::WaitForSingleObject(process, INFINITE);
  const bool known = ::GetExitCodeProcess(process, &code);
  ::CloseHandle(process);
  exitCode_ = known ? static_cast<int>(code) : -1;
#else
  int status = 0;
  ::waitpid(static_cast<pid_t>(handle_), &status, 0);
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  handle_ = -1;
  return *exitCode_;
}

int RunInChild(const std::string& name, const std::vector<std::string>& args) {
  return ChildProcess::Start(name, args).Wait();
}

long ThisProcess() {
#ifdef _WIN32
  return static_cast<long>(::GetCurrentProcessId());
#else
  return static_cast<long>(::getpid());
#endif
}

std::optional<int> RunChildWorkIfAsked(int argc, char** argv) {
  if (argc < 3 || std::string(argv[1]) != kChildOption) return std::nullopt;
  return Do(argv[2], std::vector<std::string>(argv + 3, argv + argc));
}

bool AwaitFile(const std::string& path, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::error_code error;
  while (!std::filesystem::exists(path, error)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace zorvane::testing
