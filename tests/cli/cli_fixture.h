#pragma once

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "sample/sample_installation.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {

using Lines = std::vector<std::string>;

// Runs zorvane-cli in the test's process on the sample installation and keeps what it printed.
class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }

  int RunWith(const Lines& args, const std::string& dataFolder = {}) {
    const testing::CliOutput run = testing::RunCliIn(args, dataFolder, program.Path());
    out.str(run.Out);
    err.str(run.Err);
    return run.Code;
  }
  // With --data and --program-dir naming the test's folders.
  int Run(const Lines& args) { return RunWith(args, data.Path()); }

  // The lines printed on the standard output from `first` on.
  Lines OutLines(std::size_t first = 0) const {
    Lines lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return first < lines.size() ? Lines(lines.begin() + first, lines.end()) : Lines{};
  }

  testing::TempFolder data, program;
  std::ostringstream out, err;
};

}  // namespace zorvane::cli
