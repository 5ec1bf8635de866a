#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace zorvane::cli {

// Runs zorvane-cli in the test's process and keeps what it printed.
class CliFixture : public ::testing::Test {
 protected:
  int RunWith(const std::vector<std::string>& args) {
    out.str({});
    err.str({});
    return RunCli(args, out, err);
  }

  // What was printed on the standard output, line by line.
  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::ostringstream out, err;
};

}  // namespace zorvane::cli
