#include <gtest/gtest.h>

#include "insertion_test_support.h"

namespace zorvane::testing {

std::string InsertionCompleted(const std::string& chosen, const std::string& dataFolder,
                               const std::string& archive) {
  return "Insertion of file:\r\n" + chosen + "\r\ninto \r\n" + dataFolder + archive +
         ".PFP\r\nhas completet. Your \r\n" + dataFolder +
         "PFPDATA.IDX has been updatet.\r\nA backup of your old files has been placed as \r\n" +
         dataFolder + archive + "_OLD.PFP\r\nand\r\n" + dataFolder +
         "PFPDATA_OLD.IDX\r\nTo restore the old files, you just have to delete the new "
         "files\r\nand rename the '*_OLD.*' - removing the '_OLD' from the name.";
}

archive::InsertionOutcome InsertionFixture::InsertFile(const std::string& name,
                                                       std::string_view content) {
  WriteFile(edits / name, content);
  return InsertChosen(edits / name);
}

archive::InsertionOutcome InsertionFixture::InsertChosen(const std::string& path) {
  ui.QueueFileChoice(path);
  return archive::InsertShpFile(data.Path(), tables, ui);
}

}  // namespace zorvane::testing
