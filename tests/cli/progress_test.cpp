#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/stop_request.h"
#include "cli/terminal_progress.h"
#include "cli_fixture.h"
#include "platform/progress.h"

namespace zorvane::cli {
namespace {

TEST(ProgressLine, SaysHowFarTheWorkIsItsRateAndTheTimeLeft) {
  const struct {
    std::uint64_t Done, Total;
    double Seconds;
    const char* Line;
  } rows[] = {
      {0, 2000, 0.6, "Extracting T_FRM_DD: 0 of 2000"},
      {5, 2000, 0, "Extracting T_FRM_DD: 5 of 2000"},
      {1200, 2000, 0.6, "Extracting T_FRM_DD: 1200 of 2000, 2000/s, 0:00 left"},
      {30000, 128000, 10, "Extracting T_FRM_DD: 30000 of 128000, 3000/s, 0:33 left"},
      {1000, 400000, 1, "Extracting T_FRM_DD: 1000 of 400000, 1000/s, 6:39 left"},
      {2000, 2000, 4, "Extracting T_FRM_DD: 2000 of 2000, 500/s, 0:00 left"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ProgressLine("Extracting T_FRM_DD", row.Done, row.Total, row.Seconds), row.Line);
  }
}

// Nothing in the first half second; then the line, redrawn in place over a longer one, and
// wiped at the end. Nothing at all when the line is not to be drawn.
TEST(TerminalProgress, DrawsOneLineInPlaceAfterHalfASecond) {
  using Clock = TerminalProgress::Clock;
  std::ostringstream early, late, silent;
  {
    TerminalProgress progress(early, true);
    progress.Report("Extracting A", 1, 9);
  }
  EXPECT_EQ(early.str(), "");
  {
    TerminalProgress progress(late, true, Clock::now() - std::chrono::seconds(2));
    progress.Report("Extracting LONGNAME", 1, 9);
    progress.Report("Extracting A", 9, 9);
  }
  const std::string first = "Extracting LONGNAME: 1 of 9, 0/s, ";
  ASSERT_TRUE(late.str().starts_with("\r" + first)) << late.str();
  const std::string second = "\rExtracting A: 9 of 9, 4/s, 0:00 left";
  const std::size_t at = late.str().find(second);
  ASSERT_NE(at, std::string::npos) << late.str();
  const std::size_t firstLength = at - 1;
  EXPECT_EQ(late.str().substr(at + second.size()),
            std::string(firstLength - (second.size() - 1), ' ') + "\r" +
                std::string(second.size() - 1, ' ') + "\r");
  {
    TerminalProgress progress(silent, false, Clock::now() - std::chrono::seconds(2));
    progress.Report("Extracting A", 1, 9);
  }
  EXPECT_EQ(silent.str(), "");
}

// Ctrl+C while extract runs: the extraction stops at its first step and changes nothing; the
// message says so and the exit code is 130. A command that does not stop is ended as usual,
// and the request is forgotten once the command is over.
TEST_F(CliFixture, CtrlCStopsAnExtractionWhichChangesNothing) {
  const auto before = testing::SnapshotFolder(data.Path());
  RequestStop();
  EXPECT_EQ(Run({"--quiet", "extract", "til", "--all"}), kExitStopped);
  EXPECT_EQ(OutLines().back(), platform::kStoppedMessage);
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
  EXPECT_FALSE(StopRequested());
  EXPECT_EQ(Run({"--threads", "1", "extract", "til", "--all"}), kExitCompleted);
  EXPECT_TRUE(std::filesystem::exists(data / "TOVRIN_PFP/TILES/BMPFILES/T_CLR_DD_00039.BMP"));
}

}  // namespace
}  // namespace zorvane::cli
