#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zorvane::cli {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;
// The command stopped at the user's request (Ctrl+C) and changed nothing.
inline constexpr int kExitStopped = 130;

// Runs zorvane-cli with its arguments (without the program name). Rows and messages go to
// `out`, usage errors to `err`, and, when `errIsTerminal`, the progress line of long work
// (unless --quiet). Returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal = false);

// The program's main: its arguments as the system gives them, standard output and error.
int RunCliMain(int argc, char** argv);

}  // namespace zorvane::cli
