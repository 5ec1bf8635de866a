#include <gtest/gtest.h>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/index_builder.h"
#include "support/temp_folder.h"

namespace zorvane::archive {
namespace {

using testing::Archive;

class LoadArchiveTableTest : public ::testing::Test {
 protected:
  bool Load() { return LoadArchiveTable(temp.Path(), tables, ui); }

  testing::TempFolder temp;
  IndexTables tables;
  platform::ScriptedUi ui;
};

TEST_F(LoadArchiveTableTest, NRecordsGiveArchiveLastNMinusOne) {
  testing::WriteArchiveIndex(temp / "EXT.IDX",
                             {Archive("TXT", 0, 3), Archive("SHP", 3, 5), Archive("", 5, 5)});
  ASSERT_TRUE(Load());
  EXPECT_EQ(tables.ArchiveLast, 2);
  EXPECT_EQ(tables.ArchiveTable[1], Archive("SHP", 3, 5));
  EXPECT_TRUE(ui.Events().empty());
}

TEST_F(LoadArchiveTableTest, AnEmptyFileStillGivesEntryZero) {
  tables.ArchiveTable = {Archive("OLD", 7, 8)};
  testing::WriteFile(temp / "EXT.IDX", "");
  ASSERT_TRUE(Load());
  EXPECT_EQ(tables.ArchiveLast, 0);
  EXPECT_EQ(tables.ArchiveTable[0], ArchiveRecord{});
}

TEST_F(LoadArchiveTableTest, AShortLastRecordIsIgnored) {
  auto bytes = SerialiseArchiveIndex(std::vector{Archive("TXT", 0, 3), Archive("SHP", 3, 5)});
  bytes.resize(bytes.size() + 7, 0xEE);
  testing::WriteFile(temp / "EXT.IDX", bytes);
  ASSERT_TRUE(Load());
  EXPECT_EQ(tables.ArchiveLast, 1);
  EXPECT_EQ(tables.ArchiveTable.size(), 2u);
}

TEST_F(LoadArchiveTableTest, AShorterFileOverwritesOnlyItsOwnEntries) {
  tables.ArchiveTable = {Archive("A", 0), Archive("B", 1), Archive("C", 2)};
  testing::WriteArchiveIndex(temp / "ext.idx", {Archive("X", 9)});
  ASSERT_TRUE(Load());
  EXPECT_EQ(tables.ArchiveLast, 0);
  EXPECT_EQ(tables.ArchiveTable, (std::vector{Archive("X", 9), Archive("B", 1), Archive("C", 2)}));
}

TEST_F(LoadArchiveTableTest, AMissingFileIsReportedAndTheTableKept) {
  tables.ArchiveTable = {Archive("KEEP", 1)};
  tables.ArchiveLast = 0;
  EXPECT_FALSE(Load());
  EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Cannot locate " + temp.Path() +
                                                    "EXT.IDX - you'll have to set up the folders "
                                                    "again."});
  EXPECT_EQ(tables.ArchiveTable, std::vector{Archive("KEEP", 1)});
}

TEST_F(LoadArchiveTableTest, MoreThan256RecordsAreRefused) {
  tables.ArchiveTable = {Archive("KEEP", 1)};
  testing::WriteFile(temp / "EXT.IDX", std::vector<std::uint8_t>(16 * 257, 'A'));
  EXPECT_FALSE(Load());
  EXPECT_EQ(ui.Messages(),
            std::vector<std::string>{"The file " + temp.Path() +
                                     "EXT.IDX holds more than 256 records, the most this tool "
                                     "can read. Nothing has been read from it."});
  EXPECT_EQ(tables.ArchiveTable, std::vector{Archive("KEEP", 1)});

  testing::WriteFile(temp / "EXT.IDX", std::vector<std::uint8_t>(16 * 256 + 15, 'A'));
  EXPECT_TRUE(Load());
  EXPECT_EQ(tables.ArchiveLast, 255);
}

}  // namespace
}  // namespace zorvane::archive
