#pragma once

#include <string>
#include <string_view>

#include "archive/index_tables.h"
#include "archive/sprite_insertion.h"
#include "platform/scripted_ui.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace zorvane::testing {

// The message that reports a completed insertion, piece by piece as the user reads it.
std::string InsertionCompleted(const std::string& chosen, const std::string& dataFolder,
                               const std::string& archive);

// A DATA folder and a folder of edited files beside it, to insert from.
class InsertionFixture : public ::testing::Test {
 protected:
  // Writes `content` as the chosen file `name` in the edits folder and inserts it.
  archive::InsertionOutcome InsertFile(const std::string& name, std::string_view content);
  // Inserts whatever `path` is, as chosen in the dialog.
  archive::InsertionOutcome InsertChosen(const std::string& path);

  TempFolder data;
  TempFolder edits;
  archive::IndexTables tables;
  platform::ScriptedUi ui;
};

}  // namespace zorvane::testing
