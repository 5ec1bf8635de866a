#include "unitdesc/unit_extracts.h"

#include "archive/index_files.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "unitdesc/unit_messages.h"

namespace zorvane::unitdesc {

std::string ExtractFolderOf(std::string_view chosenPath) {
  const std::string folder = platform::FolderPart(chosenPath);
  if (folder.empty()) return std::string(1, platform::kSeparator);
  return platform::WithTrailingSeparator(std::string(platform::TrimSpaces(folder)));
}

bool LoadUnitExtracts(UnitExtracts& extracts, platform::Ui& ui) {
  extracts.Loaded = false;
  const std::string chosen =
      ui.ChooseFileToOpen({kExtractDialogTitle, kExtractDialogFilter, kUnitTextFileName, {}});
  extracts.ExtractFolder = ExtractFolderOf(chosen);
  const std::string textPath = extracts.ExtractFolder + kUnitTextFileName;
  const std::string indexPath = extracts.ExtractFolder + kUnitIndexFileName;
  if (!platform::FileExists(textPath) || !platform::FileExists(indexPath)) {
    ui.ShowMessage(ExtractFilesMissingMessage(extracts.ExtractFolder));
    return false;
  }
  // A file longer than the most records an extract may hold is refused before it is read.
  auto length = platform::FileLength(indexPath);
  if (!length) {
    ui.ShowMessage(platform::CannotReadMessage(indexPath, length.Reason()));
    return false;
  }
  if (length.Value() > kUnitRecordCapacity * archive::kRecordSize) {
    ui.ShowMessage(ExtractFilesMissingMessage(extracts.ExtractFolder));
    return false;
  }
  auto bytes = platform::ReadWholeFile(indexPath);
  if (!bytes) {
    ui.ShowMessage(platform::CannotReadMessage(indexPath, bytes.Reason()));
    return false;
  }
  auto records = ParseUnitIndex(bytes.Value());
  if (!records) {
    ui.ShowMessage(ExtractFilesMissingMessage(extracts.ExtractFolder));
    return false;
  }
  if (auto text = platform::InputFile::Open(textPath); !text) {
    ui.ShowMessage(platform::CannotReadMessage(textPath, text.Reason()));
    return false;
  }
  extracts.UnitRecords = std::move(records).value();
  extracts.Loaded = true;
  return true;
}

}  // namespace zorvane::unitdesc
