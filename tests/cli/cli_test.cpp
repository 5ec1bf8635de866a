#include <gtest/gtest.h>

#include <sstream>

#include "archive/index_files.h"
#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

class CliTest : public CliFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }

  int Run(const std::vector<std::string>& args) { return RunWith(args); }

  testing::TempFolder data;
  testing::TempFolder program;
};

TEST_F(CliTest, ListAllPrintsTheHeaderAndEveryRecord) {
  ASSERT_EQ(Run({"--data", data.Path(), "--program-dir", program.Path(), "list", "all"}),
            kExitCompleted);
  const auto lines = OutLines();
  const auto records = archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records;
  ASSERT_EQ(lines.size(), records.size() + 1);
  EXPECT_EQ(lines[0], "Filename    Located in    Offset in *.PFP  FileLength");
  EXPECT_EQ(lines[1].substr(0, 19), "STRINGS     TXT.PFP");
  EXPECT_EQ(err.str(), "");
  // "list" alone is "list all".
  const std::string all = out.str();
  ASSERT_EQ(Run({"--data", data.Path(), "--program-dir", program.Path(), "list"}), kExitCompleted);
  EXPECT_EQ(out.str(), all);
}

TEST_F(CliTest, ListOfOneArchiveShowsItsMembersOnly) {
  ASSERT_EQ(Run({"--data", data.Path(), "--program-dir", program.Path(), "list", "pal"}),
            kExitCompleted);
  const auto lines = OutLines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[1].substr(0, 24), "DAY         PAL     .PFP");
  EXPECT_EQ(lines[15].substr(0, 24), "TURN06J     PAL     .PFP");
}

TEST_F(CliTest, ASettingsFileIsUsedWithoutDataOption) {
  testing::WriteFile(program / "Zorvane.ini", "PFP-path = " + data.Path() + "\r\n");
  EXPECT_EQ(Run({"--program-dir", program.Path(), "list", "shp"}), kExitCompleted);
  EXPECT_EQ(OutLines()[1].substr(0, 8), "MAINMENU");
}

TEST_F(CliTest, AMissingIndexIsPrintedAndRefused) {
  testing::TempFolder empty;
  EXPECT_EQ(Run({"--data", empty.Path(), "--program-dir", program.Path(), "list"}), kExitRefused);
  const auto lines = OutLines();
  const std::string cannot = "Cannot locate " + empty.Path();
  // The two listings of the start-up and EXT.IDX in between, then the empty list.
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], cannot + "PFPDATA.IDX - you'll have to set up the folders again.");
  EXPECT_EQ(lines[1], cannot + "EXT.IDX - you'll have to set up the folders again.");
  EXPECT_EQ(lines[2], cannot + "PFPDATA.IDX - you'll have to set up the folders again.");
  EXPECT_EQ(lines[3], "Filename    Located in    Offset in *.PFP  FileLength");
}

TEST_F(CliTest, WithoutSettingsTheFolderDialogIsCancelledAndTheProgramEnds) {
  EXPECT_EQ(Run({"--program-dir", program.Path(), "list"}), kExitRefused);
  EXPECT_EQ(OutLines(), (std::vector<std::string>{
                            "Show me your PacGen DATA folder [cancelled]",
                            "You have to show the program where your PacGen DATA folder is "
                            "located.Otherwise the program cannot work.",
                            "[OK/Cancel] Cancel", "Terminate the program?", "[OK/Cancel] OK"}));
  EXPECT_EQ(err.str(), "zorvane-cli: no DATA folder is set up; name one with --data DIR\n");
}

class CliUsage : public CliTest, public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CliUsage, WrongArgumentsAreAUsageError) {
  EXPECT_EQ(Run(GetParam()), kExitUsage);
  EXPECT_NE(err.str().find("usage: zorvane-cli [--data DIR] [--program-dir DIR] COMMAND"),
            std::string::npos);
  EXPECT_EQ(out.str(), "");
}

INSTANTIATE_TEST_SUITE_P(Arguments, CliUsage,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"--data"},
                                           // an empty folder would be taken as the root
                                           std::vector<std::string>{"--data", "", "list"},
                                           std::vector<std::string>{"--program-dir", "", "list"},
                                           std::vector<std::string>{"--verbose", "list"},
                                           std::vector<std::string>{"lst"},
                                           std::vector<std::string>{"list", "SHP"},
                                           std::vector<std::string>{"list", "all", "shp"}));

}  // namespace
}  // namespace zorvane::cli
