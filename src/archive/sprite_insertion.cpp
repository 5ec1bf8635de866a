#include "archive/sprite_insertion.h"

#include <exception>
#include <optional>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "archive/insertion_messages.h"
#include "archive/insertion_plan.h"
#include "archive/insertion_writer.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/messages_after_unlock.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace zorvane::archive {

namespace {

// Loads EXT.IDX and PFPDATA.IDX into the tables, RewriteTable as a copy of MemberTable.
// Refuses a PFPDATA.IDX with bytes after its last whole record: they could not be written back.
bool LoadIndexes(const std::string& dataFolder, IndexTables& tables, platform::Ui& ui) {
  const std::string indexPath = dataFolder + kMemberIndexName;
  const std::string extIndexPath = dataFolder + kArchiveIndexName;
  if (!platform::FileExists(indexPath) || !platform::FileExists(extIndexPath)) {
    ui.ShowMessage(MissingIndexFilesMessage(dataFolder));
    return false;
  }
  auto archives = ReadArchiveIndexFile(extIndexPath, ui);
  if (!archives) return false;
  StoreArchiveRecords(*archives, tables);
  auto index = ReadMemberIndexFile(indexPath, ui);
  if (!index) return false;
  if (!index->Whole) {
    ui.ShowMessage(IndexNotWholeMessage(indexPath));
    return false;
  }
  tables.IndexHeader = index->Header;
  tables.MemberTable = std::move(index->Records);
  tables.LastRow = static_cast<std::int32_t>(tables.MemberTable.size()) - 1;
  tables.RewriteTable = tables.MemberTable;
  return true;
}

InsertionOutcome Insert(const std::string& dataFolder, IndexTables& tables, platform::Ui& shown,
                        const std::string& suggestedName) {
  if (!LoadIndexes(dataFolder, tables, shown)) return InsertionOutcome::Refused;
  const std::string chosenPath = shown.ChooseFileToOpen(
      {kInsertDialogTitle, kInsertDialogFilter, std::string(), suggestedName});
  if (chosenPath.empty()) return InsertionOutcome::Cancelled;

  // One program changes the installation at a time, from the first check to the end; the index
  // files are read again under the lock, as another program may have changed them while the
  // dialog was open. The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(dataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), kNothingChanged}));
    return InsertionOutcome::Refused;
  }
  if (!LoadIndexes(dataFolder, tables, ui)) return InsertionOutcome::Refused;
  const auto refuse = [&](const std::string& reason) {
    ui.ShowMessage(InsertionRefusedMessage(chosenPath, reason));
    return InsertionOutcome::Refused;
  };

  const auto baseName = InsertionBaseName(chosenPath);
  if (!baseName) return refuse(NoExtensionReason());
  const auto match = FindMemberToReplace(tables.MemberTable, *baseName);
  if (!match) {
    ui.ShowMessage(MemberNotFoundMessage(*baseName));
    return InsertionOutcome::Refused;
  }

  const std::string extIndexPath = dataFolder + kArchiveIndexName;
  if (match->Group < 0 || match->Group > tables.ArchiveLast) {
    return refuse(NoArchiveForMemberReason(extIndexPath, *baseName));
  }
  ArchiveRecord& archiveRecord = tables.ArchiveTable[static_cast<std::size_t>(match->Group)];
  NormaliseName(archiveRecord.Name);
  const std::string archiveName = ComparableName(archiveRecord.Name);
  if (!NamesAFileOfTheFolder(archiveName)) {
    return refuse(NotAFileNameReason(extIndexPath, archiveName));
  }
  // The backup must not take the place of another archive of the game.
  const std::string backupName = archiveName + kArchiveBackupSuffix;
  const std::span<const ArchiveRecord> listed(tables.ArchiveTable.data(),
                                              static_cast<std::size_t>(tables.ArchiveLast + 1));
  if (const auto other = ArchiveNamed(
          listed, std::string_view(backupName).substr(0, backupName.size() - 4), archiveName)) {
    return refuse(BackupIsAnArchiveReason(dataFolder + backupName, extIndexPath, *other));
  }

  const InsertionFiles files{chosenPath, dataFolder + archiveName + kArchiveExtension,
                             dataFolder + archiveName + kArchiveBackupSuffix,
                             dataFolder + kMemberIndexName, dataFolder + kMemberIndexBackupName};
  if (!platform::FileExists(files.ArchivePath)) {
    return refuse(ArchiveMissingReason(files.ArchivePath));
  }
  auto archive = platform::InputFile::Open(files.ArchivePath);
  if (!archive) return refuse(CannotReadReason(files.ArchivePath, archive.Reason()));
  auto chosen = platform::InputFile::Open(chosenPath);
  if (!chosen) return refuse(CannotReadReason(chosenPath, chosen.Reason()));

  auto plan = PlanInsertion(tables.RewriteTable, match->Record, archive.Value().Length(),
                            chosen.Value().Length());
  if (const auto* fault = std::get_if<PlanFault>(&plan)) {
    return refuse(PlanFaultReason(*fault, files.IndexPath, files.ArchivePath, *baseName,
                                  archive.Value().Length()));
  }
  InsertionPlan& insertion = std::get<InsertionPlan>(plan);

  platform::CommitResult written;
  {
    platform::BusyPointer busy(ui);
    written = WriteInsertion(lock.Value(), files, archive.Value(), chosen.Value(), insertion,
                             tables.IndexHeader);
  }
  if (!written) {
    ui.ShowMessage(written.FailureMessage(
        InsertionFailedMessage(chosenPath, files.ArchivePath, written.Outcome.Reason())));
    return InsertionOutcome::Refused;
  }
  tables.RewriteTable = std::move(insertion.Records);
  ui.ShowMessage(InsertionCompletedMessage(chosenPath, dataFolder, archiveName));
  return InsertionOutcome::Inserted;
}

}  // namespace

InsertionOutcome InsertShpFile(const std::string& dataFolder, IndexTables& tables, platform::Ui& ui,
                               const std::string& suggestedName) {
  try {
    return Insert(dataFolder, tables, ui, suggestedName);
  } catch (const std::exception& failure) {
    ui.ShowMessage(InsertionExceptionMessage(failure.what()));
    return InsertionOutcome::Refused;
  }
}

}  // namespace zorvane::archive
