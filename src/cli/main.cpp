#include <unistd.h>

#include <iostream>

#include "cli/cli.h"
#include "cli/stop_request.h"

int main(int argc, char** argv) {
  zorvane::cli::HandleInterrupts();
  return zorvane::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                              std::cerr, ::isatty(STDERR_FILENO) == 1);
}
