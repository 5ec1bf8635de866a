#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "archive/index_files.h"
#include "cli/cli.h"
#include "cli_fixture.h"
#include "sample/sample_installation.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::cli {
namespace {

class InsertCommandTest : public CliFixture {
 protected:
  void SetUp() override { ASSERT_TRUE(sample::WriteSampleInstallation(data.Path(), {})); }

  int Insert(const std::vector<std::string>& files) {
    std::vector<std::string> args{"--data", data.Path(), "--program-dir", program.Path(), "insert"};
    args.insert(args.end(), files.begin(), files.end());
    return RunWith(args);
  }

  std::vector<std::string> Completed(const std::string& chosen) const {
    return {"Select the SHP-file you want to insert. [" + chosen + "]",
            "Insertion of file:",
            chosen,
            "into ",
            data.Path() + "SHP.PFP",
            "has completet. Your ",
            data.Path() + "PFPDATA.IDX has been updatet.",
            "A backup of your old files has been placed as ",
            data.Path() + "SHP_OLD.PFP",
            "and",
            data.Path() + "PFPDATA_OLD.IDX",
            "To restore the old files, you just have to delete the new files",
            "and rename the '*_OLD.*' - removing the '_OLD' from the name."};
  }

  // The SHP.PFP record of `name` in the current PFPDATA.IDX.
  archive::MemberRecord Record(const std::string& name) const {
    for (const auto& record :
         archive::ParseMemberIndex(testing::ReadFile(data / "PFPDATA.IDX")).Records) {
      if (archive::ComparableName(record.Name) == name) return record;
    }
    ADD_FAILURE() << "no member " << name;
    return {};
  }

  testing::TempFolder data;
  testing::TempFolder program;
  testing::TempFolder edits;
};

TEST_F(InsertCommandTest, InsertsEveryFileInTurn) {
  testing::WriteFile(edits / "CURSORS.SHP", std::string(300, 'c'));
  testing::WriteFile(edits / "BUTTONS.SHP", std::string(200, 'b'));
  const std::int32_t buttonsOffset = Record("BUTTONS").Offset;
  ASSERT_EQ(Insert({edits / "CURSORS.SHP", edits / "BUTTONS.SHP"}), kExitCompleted);

  std::vector<std::string> expected = Completed(edits / "CURSORS.SHP");
  const auto second = Completed(edits / "BUTTONS.SHP");
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(OutLines(), expected);
  EXPECT_EQ(err.str(), "");
  // The second insertion worked on the index the first one wrote.
  EXPECT_EQ(Record("BUTTONS").Length, 200);
  EXPECT_EQ(Record("CURSORS").Offset, buttonsOffset + 200);
  EXPECT_EQ(Record("CURSORS").Length, 300);
}

TEST_F(InsertCommandTest, ARefusedFileGivesExitCodeOneAndTheOthersAreStillInserted) {
  testing::WriteFile(edits / "NOSUCH.SHP", "x");
  testing::WriteFile(edits / "PANELS.SHP", "panels");
  ASSERT_EQ(Insert({edits / "NOSUCH.SHP", edits / "PANELS.SHP"}), kExitRefused);
  std::vector<std::string> expected{
      "Select the SHP-file you want to insert. [" + (edits / "NOSUCH.SHP") + "]",
      "I couldn't find the file NOSUCH, you have to insert a file that is allready known to "
      "PacGen."};
  const auto second = Completed(edits / "PANELS.SHP");
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(OutLines(), expected);
  EXPECT_EQ(Record("PANELS").Length, 6);
}

// The dialog gives a full path, and the message shows it: a relative name is taken from the
// current folder.
TEST_F(InsertCommandTest, ARelativeNameIsShownAsAFullPath) {
  testing::WriteFile(edits / "PANELS.SHP", "panels");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(edits.Path());
  const int code = Insert({"PANELS.SHP"});
  std::filesystem::current_path(previous);
  ASSERT_EQ(code, kExitCompleted);
  EXPECT_EQ(OutLines(), Completed(edits / "PANELS.SHP"));
}

class InsertUsage : public InsertCommandTest,
                    public ::testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(InsertUsage, IsRefusedBeforeAnythingRuns) {
  const auto before = testing::SnapshotFolder(data.Path());
  EXPECT_EQ(Insert(GetParam()), kExitUsage);
  EXPECT_NE(err.str().find("zorvane-cli: wrong arguments for insert\n"), std::string::npos);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(testing::SnapshotFolder(data.Path()), before);
}

INSTANTIATE_TEST_SUITE_P(Arguments, InsertUsage,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{""},
                                           std::vector<std::string>{"PANELS.SHP", ""}));

}  // namespace
}  // namespace zorvane::cli
