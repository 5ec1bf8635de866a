#include "unitdesc/unit_extraction.h"

#include <exception>
#include <new>
#include <span>
#include <vector>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"
#include "unitdesc/complete_index.h"
#include "unitdesc/text_line_copy.h"
#include "unitdesc/unit_index_file.h"
#include "unitdesc/unit_messages.h"

namespace zorvane::unitdesc {

namespace {

using platform::Status;

std::vector<UnitRecord> UnitRecordsOf(std::span<const archive::MemberRecord> table,
                                      const UnitMembers& members) {
  const std::int64_t start = table[members.First].Offset;
  std::vector<UnitRecord> units;
  units.reserve(members.End - members.First);
  // The names are NUL-free already, padded with spaces as the all-archives listing leaves them.
  for (std::size_t r = members.First; r < members.End; ++r) {
    UnitRecord unit = table[r];
    // Offsets of a damaged index may lie far apart; the difference is stored as the record's
    // 32 bits hold it.
    unit.Offset = static_cast<std::int32_t>(table[r].Offset - start);
    units.push_back(unit);
  }
  return units;
}

struct ExtractPaths {
  std::string Folder;
  std::string Text;
  std::string Index;
};

// The failure's reason is the whole message to show.
Status WriteExtracts(const platform::FolderLock& lock, const platform::InputFile& textArchive,
                     const std::string& archivePath, std::uint64_t start,
                     std::span<const UnitRecord> units, const ExtractPaths& paths) {
  const auto notExtracted = [](const std::string& reason) {
    return Status::Failure(NotExtractedMessage(reason));
  };
  if (auto created = platform::CreateFolder(paths.Folder); !created) {
    return notExtracted("Cannot create the folder " + paths.Folder + ": " + created.Reason());
  }
  // Both files are written whole and put in place together: a failure part-way never leaves
  // the text of one extraction beside the index of another. Earlier extracts are not kept.
  platform::FileTransaction replacement(lock);
  auto text = replacement.Stage(paths.Text, std::string());
  if (!text) return notExtracted(text.Reason());
  auto copied = CopyTextLines(textArchive, archivePath, start, *text.Value(), paths.Text);
  if (!copied) return notExtracted(copied.Reason());
  if (auto staged = replacement.StageBytes(paths.Index, std::string(), SerialiseUnitIndex(units));
      !staged) {
    return notExtracted(staged.Reason());
  }
  if (auto committed = replacement.Commit(); !committed) {
    return Status::Failure(
        committed.FailureMessage(NotExtractedMessage(committed.Outcome.Reason())));
  }
  return Status::Success();
}

bool Extract(const std::string& dataFolder, platform::Ui& shown) {
  // The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(dataFolder, ui);
  if (!lock) {
    ui.ShowMessage(NotExtractedMessage(lock.Reason()));
    return false;
  }
  const std::string archivePath = dataFolder + kTextArchiveName;
  if (!platform::FileExists(archivePath)) {
    ui.ShowMessage(TextArchiveMissingMessage());
    return false;
  }
  const std::string indexPath = dataFolder + archive::kMemberIndexName;
  if (!platform::FileExists(indexPath)) {
    ui.ShowMessage(archive::CannotLocateMessage(indexPath));
    return false;
  }
  const auto index = ReadCompleteIndex(dataFolder, ui);
  if (!index) return false;
  const auto members = FindUnitMembers(index->MemberTable);
  if (!members) {
    ui.ShowMessage(kCannotFindUnitDescriptions);
    return false;
  }
  auto text = platform::InputFile::Open(archivePath);
  if (!text) {
    ui.ShowMessage(platform::CannotReadMessage(archivePath, text.Reason()));
    return false;
  }
  const std::int64_t start = index->MemberTable[members->First].Offset;
  if (start < 0 || static_cast<std::uint64_t>(start) > text.Value().Length()) {
    ui.ShowMessage(BlockOutsideMessage(indexPath, start, archivePath, text.Value().Length()));
    return false;
  }
  const std::string folder = dataFolder + kExtractFolderName;
  const ExtractPaths paths{folder, platform::WithTrailingSeparator(folder) + kUnitTextFileName,
                           platform::WithTrailingSeparator(folder) + kUnitIndexFileName};
  Status written = Status::Success();
  {
    platform::BusyPointer busy(ui);
    written =
        WriteExtracts(lock.Value(), text.Value(), archivePath, static_cast<std::uint64_t>(start),
                      UnitRecordsOf(index->MemberTable, *members), paths);
  }
  if (!written) {
    ui.ShowMessage(written.Reason());
    return false;
  }
  ui.ShowMessage(ExtractedMessage(paths.Text, paths.Index));
  return true;
}

}  // namespace

bool ExtractUnitDescriptions(const std::string& dataFolder, platform::Ui& ui) {
  try {
    return Extract(dataFolder, ui);
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(NotExtractedMessage(platform::NotEnoughMemoryMessage()));
    return false;
  } catch (const std::exception& failure) {
    ui.ShowMessage(NotExtractedMessage(failure.what()));
    return false;
  }
}

}  // namespace zorvane::unitdesc
