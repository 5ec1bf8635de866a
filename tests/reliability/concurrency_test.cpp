// Two programs that change one installation at the same moment: each pair of commands runs in
// two processes started together, many times; every end state must be that of one of the two
// serial orders, or that of one command alone when the other refused cleanly. A command that
// reports success was applied.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "drill_installation.h"
#include "fault_drill.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::reliability {
namespace {

namespace fs = std::filesystem;
using Arguments = std::vector<std::string>;

constexpr int kRounds = 12;

struct Pair {
  const char* Name;
  std::function<Arguments(const RunFolders&)> First;
  std::function<Arguments(const RunFolders&)> Second;
  std::function<void(const RunFolders&)> Prepare;
};

void PrintTo(const Pair& pair, std::ostream* out) {
  *out << pair.Name;
}

int RunCommand(const RunFolders& folders, const Arguments& command, std::string& said) {
  Arguments args{"--data", folders.Data, "--program-dir", folders.Program};
  args.insert(args.end(), command.begin(), command.end());
  std::ostringstream out;
  const int code = cli::RunCli(args, out, out);
  said = out.str();
  return code;
}

// The end state of running `commands` one after the other on a fresh copy.
FolderState SerialState(
    const std::string& root, const Pair& pair,
    std::initializer_list<std::function<Arguments(const RunFolders&)>> commands) {
  const RunFolders folders = FreshCopy(root, DrillInstallation(), {"", pair.Prepare, {}, ""});
  for (const auto& command : commands) {
    std::string said;
    EXPECT_EQ(RunCommand(folders, command(folders), said), cli::kExitCompleted) << said;
  }
  return StateOf(folders);
}

// Runs both commands in two child processes released at the same moment; returns their exit
// codes and leaves what they said in `said`.
std::array<int, 2> RunTogether(const RunFolders& folders, const Pair& pair,
                               std::array<std::string, 2>& said, const std::string& root) {
  int gate[2];
  EXPECT_EQ(::pipe(gate), 0);
  std::array<pid_t, 2> children{};
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    if (children[c] == 0) {
      ::close(gate[1]);
      char go = 0;
      (void)!::read(gate[0], &go, 1);
      std::string text;
      const int code = RunCommand(folders, (c == 0 ? pair.First : pair.Second)(folders), text);
      testing::WriteFile(root + "said" + std::to_string(c), text);
      ::_exit(code);
    }
  }
  ::close(gate[0]);
  ::close(gate[1]);  // both read the end of the pipe and go
  std::array<int, 2> codes{};
  for (int c = 0; c < 2; ++c) {
    int status = 0;
    ::waitpid(children[c], &status, 0);
    codes[c] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    said[c] = testing::ReadText(root + "said" + std::to_string(c));
  }
  return codes;
}

class TwoWriters : public ::testing::TestWithParam<Pair> {};

TEST_P(TwoWriters, EndInOneOfTheSerialOrdersOrOneRefusesCleanly) {
  const Pair& pair = GetParam();
  const testing::TempFolder serial(DrillParentFolder());
  const FolderState firstThenSecond = SerialState(serial.Path(), pair, {pair.First, pair.Second});
  const FolderState secondThenFirst = SerialState(serial.Path(), pair, {pair.Second, pair.First});
  const FolderState firstAlone = SerialState(serial.Path(), pair, {pair.First});
  const FolderState secondAlone = SerialState(serial.Path(), pair, {pair.Second});

  const testing::TempFolder root(DrillParentFolder());
  for (int round = 0; round < kRounds; ++round) {
    const RunFolders folders =
        FreshCopy(root.Path(), DrillInstallation(), {"", pair.Prepare, {}, ""});
    std::array<std::string, 2> said;
    const auto codes = RunTogether(folders, pair, said, root.Path());
    const FolderState state = StateOf(folders);
    SCOPED_TRACE("round " + std::to_string(round) + "; the first said:\n" + said[0] +
                 "\nthe second said:\n" + said[1]);
    const bool bothDone = codes[0] == cli::kExitCompleted && codes[1] == cli::kExitCompleted;
    if (bothDone) {
      EXPECT_TRUE(Differences(firstThenSecond, state).empty() ||
                  Differences(secondThenFirst, state).empty())
          << Differences(firstThenSecond, state);
    } else {
      const int refused = codes[0] == cli::kExitCompleted ? 1 : 0;
      EXPECT_EQ(codes[1 - refused], cli::kExitCompleted);
      EXPECT_NE(said[refused].find("Nothing has been changed."), std::string::npos);
      EXPECT_EQ(Differences(refused == 0 ? secondAlone : firstAlone, state), "");
    }
    if (::testing::Test::HasFailure()) return;
  }
}

std::function<Arguments(const RunFolders&)> Insert(const char* input) {
  return [input](const RunFolders& folders) -> Arguments {
    return {"insert", folders.Inputs + input};
  };
}

std::function<Arguments(const RunFolders&)> Fixed(Arguments arguments) {
  return [arguments](const RunFolders&) { return arguments; };
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, TwoWriters,
    ::testing::Values(Pair{"InsertIntoTwoArchives", Insert(kSpriteToInsert), Insert(kTileToInsert),
                           nullptr},
                      Pair{"InsertIntoOneArchive", Insert(kSpriteToInsert),
                           Insert(kSecondSpriteToInsert), nullptr},
                      Pair{"InsertAndInsertUnits", Insert(kSpriteToInsert),
                           [](const RunFolders& folders) -> Arguments {
                             return {"insert-units", folders.Inputs + kUnitExtractsFolder};
                           },
                           nullptr},
                      Pair{"ExtractAndRepack", Fixed({"extract", "shp", "UNITICON"}),
                           Fixed({"repack", "icons", "UNITICON"}),
                           [](const RunFolders& folders) {
                             // An earlier extraction, one of its BMPs edited, waits to be packed.
                             std::string said;
                             RunCommand(folders, {"extract", "shp", "UNITICON"}, said);
                             const std::string bmp =
                                 folders.Data + "TOVRIN_PFP/ICONS/BMPFILES/UNITICON_00003.BMP";
                             testing::Bytes edited = testing::ReadFile(bmp);
                             edited.back() = static_cast<std::uint8_t>(edited.back() + 1);
                             testing::WriteFile(bmp, edited);
                           }}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace zorvane::reliability
