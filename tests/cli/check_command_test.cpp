#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

class CheckCommandTest : public CliFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }
  int Check() { return RunWith({"--data", data.Path(), "--program-dir", program.Path(), "check"}); }
  testing::TempFolder data, program;
};

TEST_F(CheckCommandTest, TheSampleInstallationHasNoProblem) {
  EXPECT_EQ(Check(), kExitCompleted);
  EXPECT_EQ(OutLines(), std::vector<std::string>{"No problems found in " + data.Path() + "."});
}

TEST_F(CheckCommandTest, PrintsEachProblemOnALineAndRefuses) {
  std::filesystem::remove(data / "TIL.PFP");
  std::filesystem::remove(data / "PAL.PFP");
  EXPECT_EQ(Check(), kExitRefused);
  EXPECT_EQ(OutLines(),
            (std::vector<std::string>{"The archive " + data.Path() + "TIL.PFP does not exist.",
                                      "The archive " + data.Path() + "PAL.PFP does not exist."}));
  EXPECT_EQ(RunWith({"--data", data.Path(), "check", "all"}), kExitUsage);
}

}  // namespace
}  // namespace zorvane::cli
