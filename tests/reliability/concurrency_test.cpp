// Two programs that change one installation at the same moment: each pair of commands runs in
// two processes released together, many times; every end state must be that of one of the two
// serial orders, or that of one command alone when the other refused cleanly.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>

#include "fault_drill.h"
#include "support/child_process.h"
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

const std::vector<Pair>& Pairs() {
  static const std::vector<Pair> pairs{
      {"InsertIntoTwoArchives", CliOnInput("insert", kSpriteToInsert),
       CliOnInput("insert", kTileToInsert), nullptr},
      {"InsertIntoOneArchive", CliOnInput("insert", kSpriteToInsert),
       CliOnInput("insert", kSecondSpriteToInsert), nullptr},
      {"InsertAndInsertUnits", CliOnInput("insert", kSpriteToInsert),
       CliOnInput("insert-units", kUnitExtractsFolder), nullptr},
      {"ExtractAndRepack", Cli({"extract", "shp", "UNITICON"}),
       Cli({"repack", "icons", "UNITICON"}), EditedIconExtraction}};
  return pairs;
}

// In another process: waits for the file "go" of ROOT, runs command C (0 or 1) of pair P on the
// folders DATA, PROGRAM and INPUTS, and writes what it said to the file "saidC" of ROOT.
const bool kRunningOnePair = testing::RegisterChildWork("run-one-of-pair", [](const auto& args) {
  const Pair& pair = Pairs()[std::stoul(args[0])];
  const std::string& root = args[2];
  testing::AwaitFile(root + "go");
  const CommandReport report =
      (args[1] == "0" ? pair.First : pair.Second)(Folders{args[3], args[4], args[5]});
  testing::WriteFile(root + "said" + args[1], report.Text);
  return report.Completed ? 0 : 1;
});

// Runs both commands in two child processes released at the same moment.
std::array<CommandReport, 2> RunTogether(const Folders& folders, std::size_t pair,
                                         const std::string& root) {
  std::filesystem::remove(root + "go");
  std::array<std::optional<testing::ChildProcess>, 2> children;
  for (int c = 0; c < 2; ++c) {
    children[c].emplace(testing::ChildProcess::Start(
        "run-one-of-pair", {std::to_string(pair), std::to_string(c), root, folders.Data,
                            folders.Program, folders.Inputs}));
  }
  testing::WriteFile(root + "go", "");
  std::array<CommandReport, 2> reports;
  for (int c = 0; c < 2; ++c) {
    reports[c] = {children[c]->Wait() == 0, testing::ReadText(root + "said" + std::to_string(c))};
  }
  return reports;
}

class TwoWriters : public ::testing::TestWithParam<std::size_t> {};

TEST_P(TwoWriters, EndInOneOfTheSerialOrdersOrOneRefusesCleanly) {
  const Pair& pair = Pairs()[GetParam()];
  const testing::TempFolder serial(DrillParentFolder());
  const FolderState firstThenSecond = SerialState(serial.Path(), pair, {pair.First, pair.Second});
  const FolderState secondThenFirst = SerialState(serial.Path(), pair, {pair.Second, pair.First});
  const std::array<FolderState, 2> alone{SerialState(serial.Path(), pair, {pair.Second}),
                                         SerialState(serial.Path(), pair, {pair.First})};
  const testing::TempFolder root(DrillParentFolder());
  for (int round = 0; round < 12 && !::testing::Test::HasFailure(); ++round) {
    const Folders folders = FreshCopy(root.Path(), DrillInstallation(), pair.Before);
    const auto reports = RunTogether(folders, GetParam(), root.Path());
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

INSTANTIATE_TEST_SUITE_P(Pairs, TwoWriters, ::testing::Range<std::size_t>(0, Pairs().size()),
                         [](const auto& info) { return std::string(Pairs()[info.param].Name); });

}  // namespace
}  // namespace zorvane::reliability
