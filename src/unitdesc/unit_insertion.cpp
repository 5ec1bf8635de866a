#include "unitdesc/unit_insertion.h"

#include <exception>
#include <new>
#include <optional>
#include <span>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "archive/index_record.h"
#include "platform/copy_range.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"
#include "unitdesc/complete_index.h"
#include "unitdesc/index_rebuild.h"
#include "unitdesc/text_line_copy.h"
#include "unitdesc/unit_messages.h"

namespace zorvane::unitdesc {

namespace {

using platform::Status;

struct InsertionPaths {
  std::string MemberIndex;
  std::string ArchiveIndex;
  std::string TextArchive;
  std::string UnitText;  // the extract's UnitDescriptions.KRT
};

// Writes the three new files beside the old ones and puts them in place. The failure's reason
// is the whole message to show.
Status WriteInstallation(const platform::FolderLock& lock, const InsertionPaths& paths,
                         const platform::InputFile& oldText, const RebuiltIndex& rebuilt) {
  const auto notInserted = [](const std::string& reason) {
    return Status::Failure(NotInsertedMessage(reason));
  };
  const std::string& dataFolder = lock.Folder();
  platform::FileTransaction replacement(lock);
  // A PFPDATA.IDX rebuilt for unit descriptions has header 0, whatever it held before.
  if (auto staged = replacement.StageBytes(paths.MemberIndex, dataFolder + kOldMemberIndexName,
                                           archive::SerialiseMemberIndex(0, rebuilt.RewriteTable));
      !staged) {
    return notInserted(staged.Reason());
  }
  if (auto staged = replacement.StageBytes(paths.ArchiveIndex, dataFolder + kOldArchiveIndexName,
                                           archive::SerialiseArchiveIndex(rebuilt.ArchiveTable));
      !staged) {
    return notInserted(staged.Reason());
  }
  auto text = replacement.Stage(paths.TextArchive, dataFolder + kOldTextArchiveName);
  if (!text) return notInserted(text.Reason());

  if (auto copied = platform::CopyRange(oldText, 0, rebuilt.TextKept, *text.Value()); !copied) {
    return notInserted("Cannot copy the start of " + paths.TextArchive + ": " + copied.Reason());
  }
  auto unitText = platform::InputFile::Open(paths.UnitText);
  if (!unitText) return notInserted(platform::CannotReadMessage(paths.UnitText, unitText.Reason()));
  auto textBytes =
      CopyTextLines(unitText.Value(), paths.UnitText, 0, *text.Value(), paths.TextArchive);
  if (!textBytes) return notInserted(textBytes.Reason());
  if (static_cast<std::uint64_t>(rebuilt.UnitLengths) > textBytes.Value()) {
    return Status::Failure(
        LengthsPastTextMessage(platform::FolderPart(paths.UnitText) + kUnitIndexFileName,
                               rebuilt.UnitLengths, paths.UnitText, textBytes.Value()));
  }

  if (auto committed = replacement.Commit(); !committed) {
    return Status::Failure(
        committed.FailureMessage(NotInsertedMessage(committed.Outcome.Reason())));
  }
  return Status::Success();
}

bool Insert(const std::string& dataFolder, UnitExtracts& extracts, platform::Ui& shown,
            const std::function<void()>& afterInsertion) {
  if (!LoadUnitExtracts(extracts, shown)) {
    shown.ShowMessage(kCannotFindExtracts);
    return false;
  }
  // One program changes the installation at a time, from the first check of its files to the
  // end. The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(dataFolder, ui);
  if (!lock) {
    ui.ShowMessage(NotInsertedMessage(lock.Reason()));
    return false;
  }
  const InsertionPaths paths{dataFolder + archive::kMemberIndexName,
                             dataFolder + archive::kArchiveIndexName, dataFolder + kTextArchiveName,
                             extracts.ExtractFolder + kUnitTextFileName};
  if (!platform::FileExists(paths.MemberIndex) || !platform::FileExists(paths.ArchiveIndex) ||
      !platform::FileExists(paths.TextArchive)) {
    ui.ShowMessage(DataFileMissingMessage(dataFolder));
    return false;
  }
  const auto index = ReadCompleteIndex(dataFolder, ui);
  if (!index) return false;
  const auto archives = archive::ReadArchiveIndexFile(paths.ArchiveIndex, ui);
  if (!archives) return false;
  const std::string_view backup(kOldTextArchiveName);
  if (const auto named = archive::ArchiveNamed(*archives, backup.substr(0, backup.find('.')))) {
    ui.ShowMessage(NotInsertedMessage("its backup " + dataFolder + kOldTextArchiveName +
                                      " would take the place of the archive " + *named +
                                      ", which " + paths.ArchiveIndex + " lists."));
    return false;
  }
  auto oldText = platform::InputFile::Open(paths.TextArchive);
  if (!oldText) {
    ui.ShowMessage(platform::CannotReadMessage(paths.TextArchive, oldText.Reason()));
    return false;
  }
  const auto rebuilt =
      RebuildIndex({*index, *archives, oldText.Value().Length(), dataFolder}, extracts.UnitRecords);
  if (!rebuilt) {
    ui.ShowMessage(rebuilt.Reason());
    return false;
  }
  Status written = Status::Success();
  {
    platform::BusyPointer busy(ui);
    written = WriteInstallation(lock.Value(), paths, oldText.Value(), rebuilt.Value());
  }
  if (!written) {
    ui.ShowMessage(written.Reason());
    return false;
  }
  if (afterInsertion) afterInsertion();
  ui.ShowMessage(InsertedMessage(extracts.ExtractFolder, dataFolder));
  return true;
}

}  // namespace

bool InsertUnitDescriptions(const std::string& dataFolder, UnitExtracts& extracts, platform::Ui& ui,
                            const std::function<void()>& afterInsertion) {
  // Running out of memory, say, leaves every file as it was: the replacement has not been
  // committed, and unwinding removes its temporary files.
  try {
    return Insert(dataFolder, extracts, ui, afterInsertion);
  } catch (const std::bad_alloc&) {
    ui.ShowMessage(NotInsertedMessage(platform::NotEnoughMemoryMessage()));
    return false;
  } catch (const std::exception& failure) {
    ui.ShowMessage(NotInsertedMessage(failure.what()));
    return false;
  }
}

}  // namespace zorvane::unitdesc
