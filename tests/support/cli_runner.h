#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace zorvane::testing {

struct CliOutput {
  int Code = 0;
  std::string Out, Err;
};

// Runs zorvane-cli in the test's process; with a DATA folder given, --data and --program-dir
// name the two folders before `args`.
inline CliOutput RunCliIn(std::vector<std::string> args, const std::string& data = {},
                          const std::string& program = {}) {
  if (!data.empty()) args.insert(args.begin(), {"--data", data, "--program-dir", program});
  std::ostringstream out, err;
  const int code = cli::RunCli(args, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace zorvane::testing
