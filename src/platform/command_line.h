#pragma once

#include <string>
#include <vector>

namespace zorvane::platform {

// The arguments the program was started with, after its own name, in UTF-8 (on Windows, read
// from the wide command line rather than the narrow one of the system's code page, and standard
// output and error are made to write UTF-8 bytes as they are).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Whether standard error goes to a terminal (a console), where a progress line can be redrawn.
bool StandardErrorIsTerminal();

}  // namespace zorvane::platform
