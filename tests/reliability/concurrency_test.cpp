// Two programs that change one installation at the same moment: each pair of commands runs in
// two processes released together, many times; every end state must be that of one of the two
// serial orders, or that of one command alone when the other refused cleanly.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>

#include "fault_drill.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {
namespace {

struct Pair {
  const char* Name;
  Command First;
  Command Second;
  Prepare Before;
};

void PrintTo(const Pair& pair, std::ostream* out) {
  *out << pair.Name;
}

// The end state of running the commands one after the other on a fresh copy.
FolderState SerialState(const std::string& root, const Pair& pair,
                        std::initializer_list<Command> commands) {
  const Folders folders = FreshCopy(root, DrillInstallation(), pair.Before);
  for (const Command& command : commands) {
    const CommandReport report = command(folders);
    EXPECT_TRUE(report.Completed) << report.Text;
  }
  return StateOf(folders);
}

// Runs both commands in two child processes released at the same moment through a pipe.
std::array<CommandReport, 2> RunTogether(const Folders& folders, const Pair& pair,
                                         const std::string& root) {
  int gate[2];
  EXPECT_EQ(::pipe(gate), 0);
  std::array<pid_t, 2> children{};
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    if (children[c] == 0) {
      ::close(gate[1]);
      char go = 0;
      (void)!::read(gate[0], &go, 1);
      const CommandReport report = (c == 0 ? pair.First : pair.Second)(folders);
      testing::WriteFile(root + "said" + std::to_string(c), report.Text);
      ::_exit(report.Completed ? 0 : 1);
    }
  }
  ::close(gate[0]);
  ::close(gate[1]);  // both read the end of the pipe and go
  std::array<CommandReport, 2> reports;
  for (int c = 0; c < 2; ++c) {
    int status = 0;
    ::waitpid(children[c], &status, 0);
    reports[c] = {WIFEXITED(status) && WEXITSTATUS(status) == 0,
                  testing::ReadText(root + "said" + std::to_string(c))};
  }
  return reports;
}

class TwoWriters : public ::testing::TestWithParam<Pair> {};

TEST_P(TwoWriters, EndInOneOfTheSerialOrdersOrOneRefusesCleanly) {
  const Pair& pair = GetParam();
  const testing::TempFolder serial(DrillParentFolder());
  const FolderState firstThenSecond = SerialState(serial.Path(), pair, {pair.First, pair.Second});
  const FolderState secondThenFirst = SerialState(serial.Path(), pair, {pair.Second, pair.First});
  const std::array<FolderState, 2> alone{SerialState(serial.Path(), pair, {pair.Second}),
                                         SerialState(serial.Path(), pair, {pair.First})};
  const testing::TempFolder root(DrillParentFolder());
  for (int round = 0; round < 12 && !::testing::Test::HasFailure(); ++round) {
    const Folders folders = FreshCopy(root.Path(), DrillInstallation(), pair.Before);
    const auto reports = RunTogether(folders, pair, root.Path());
    const FolderState state = StateOf(folders);
    SCOPED_TRACE("round " + std::to_string(round) + "; the first said:\n" + reports[0].Text +
                 "\nthe second said:\n" + reports[1].Text);
    if (reports[0].Completed && reports[1].Completed) {
      EXPECT_TRUE(Differences(firstThenSecond, state).empty() ||
                  Differences(secondThenFirst, state).empty())
          << Differences(firstThenSecond, state);
      continue;
    }
    const int refused = reports[0].Completed ? 1 : 0;
    EXPECT_TRUE(reports[1 - refused].Completed);
    EXPECT_NE(reports[refused].Text.find("Nothing has been changed."), std::string::npos);
    EXPECT_EQ(Differences(alone[refused], state), "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TwoWriters,
    ::testing::Values(Pair{"InsertIntoTwoArchives", CliOnInput("insert", kSpriteToInsert),
                           CliOnInput("insert", kTileToInsert), nullptr},
                      Pair{"InsertIntoOneArchive", CliOnInput("insert", kSpriteToInsert),
                           CliOnInput("insert", kSecondSpriteToInsert), nullptr},
                      Pair{"InsertAndInsertUnits", CliOnInput("insert", kSpriteToInsert),
                           CliOnInput("insert-units", kUnitExtractsFolder), nullptr},
                      Pair{"ExtractAndRepack", Cli({"extract", "shp", "UNITICON"}),
                           Cli({"repack", "icons", "UNITICON"}), EditedIconExtraction}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zorvane::reliability
