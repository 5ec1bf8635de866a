#include "app/restore.h"

#include <algorithm>
#include <optional>

#include "app/main_window_events.h"
#include "archive/index_files.h"
#include "archive/insertion_messages.h"
#include "archive/installation_check.h"
#include "platform/copy_range.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"
#include "platform/folder_entries.h"
#include "platform/messages_after_unlock.h"
#include "platform/number_text.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "unitdesc/unit_insertion.h"

namespace zorvane::app {

namespace {

// A candidate set of backups and when the last of its index backups was made.
struct Candidate {
  std::vector<RestoredFile> Files;
  std::int64_t MadeAt = 0;
  std::vector<std::string> Problems;
};

std::optional<std::int64_t> BackupMadeAt(const std::string& dataFolder, const std::string& name) {
  return platform::FileExists(dataFolder + name) ? platform::EntryChangedAt(dataFolder + name)
                                                 : std::nullopt;
}

std::vector<std::string> ProblemsWith(const std::string& dataFolder,
                                      const std::vector<RestoredFile>& files) {
  archive::FilesInstead instead;
  for (const RestoredFile& file : files) instead[platform::UpperCase(file.Name)] = file.Backup;
  return archive::CheckInstallationWith(dataFolder, instead);
}

// The backups of the last insertion of unit descriptions.
std::optional<Candidate> UnitBackups(const std::string& dataFolder) {
  const auto madeAt = BackupMadeAt(dataFolder, unitdesc::kOldMemberIndexName);
  if (!madeAt) return std::nullopt;
  Candidate units{{{"TXT.PFP", unitdesc::kOldTextArchiveName},
                   {archive::kMemberIndexName, unitdesc::kOldMemberIndexName},
                   {archive::kArchiveIndexName, unitdesc::kOldArchiveIndexName}},
                  *madeAt,
                  {}};
  units.Problems = ProblemsWith(dataFolder, units.Files);
  return units;
}

// The backups of the last insertion of a sprite file: the index backup with the archive backup
// it goes with, the newest that passes the check, else the newest archive backup.
std::optional<Candidate> SpriteBackups(const std::string& dataFolder) {
  const auto madeAt = BackupMadeAt(dataFolder, archive::kMemberIndexBackupName);
  if (!madeAt) return std::nullopt;
  const RestoredFile index{archive::kMemberIndexName, archive::kMemberIndexBackupName};
  std::optional<Candidate> best;
  // Passing the check counts first, then the newest archive backup.
  std::pair<bool, std::int64_t> bestRank{};
  const std::string suffix = archive::kArchiveBackupSuffix;
  for (const std::string& entry : platform::FolderEntryNames(
           platform::WithTrailingSeparator(platform::ResolvePath(dataFolder)))) {
    const std::string upper = platform::UpperCase(entry);
    if (upper.size() <= suffix.size() || !upper.ends_with(suffix)) continue;
    const std::string archiveName =
        upper.substr(0, upper.size() - suffix.size()) + archive::kArchiveExtension;
    Candidate candidate{{index, {archiveName, entry}}, *madeAt, {}};
    candidate.Problems = ProblemsWith(dataFolder, candidate.Files);
    const std::pair rank{candidate.Problems.empty(),
                         BackupMadeAt(dataFolder, entry).value_or(0)};
    if (!best || rank > bestRank) {
      best = std::move(candidate);
      bestRank = rank;
    }
  }
  if (!best) {
    return Candidate{{index},
                     *madeAt,
                     {"There is no archive backup (NAME_OLD.PFP) to go with " + dataFolder +
                      archive::kMemberIndexBackupName + "."}};
  }
  return best;
}

std::string NoBackupsMessage(const std::string& dataFolder) {
  return platform::JoinLines(
      {"There are no backups to restore in " + dataFolder + ".",
       "An insertion keeps them: B_OLD.PFP with PFPDATA_OLD.IDX, or OLD_TXT.PFP, OLD_PFPDATA.IDX "
       "and OLD_EXT.IDX.",
       archive::kNothingChanged});
}

std::string NotTogetherMessage(const std::string& dataFolder,
                               const std::vector<std::string>& problems) {
  std::vector<std::string> lines{"The backups in " + dataFolder +
                                 " do not belong together, so they are not put back:"};
  for (std::size_t i = 0; i < problems.size() && i < 5; ++i) lines.push_back(problems[i]);
  lines.push_back(archive::kNothingChanged);
  return platform::JoinLines(lines);
}

std::string RestoredMessage(const std::string& dataFolder,
                            const std::vector<RestoredFile>& files) {
  std::vector<std::string> lines{"The previous version has been put back:"};
  for (const RestoredFile& file : files) {
    lines.push_back(dataFolder + file.Name + " from " + file.Backup);
  }
  lines.push_back(
      "The versions it replaced are kept as the backups: Restore again puts them back.");
  return platform::JoinLines(lines);
}

}  // namespace

platform::Result<std::vector<RestoredFile>> LastChangeBackups(const std::string& dataFolder) {
  std::optional<Candidate> last = UnitBackups(dataFolder);
  if (auto sprite = SpriteBackups(dataFolder); sprite && (!last || sprite->MadeAt > last->MadeAt)) {
    last = std::move(sprite);
  }
  if (!last) return platform::Status::Failure(NoBackupsMessage(dataFolder));
  if (!last->Problems.empty()) {
    return platform::Status::Failure(NotTogetherMessage(dataFolder, last->Problems));
  }
  return std::move(last->Files);
}

bool RestorePreviousVersion(const std::string& dataFolder, platform::Ui& shown) {
  platform::BusyPointer busy(shown);
  // The messages wait until the lock is let go.
  platform::MessagesAfterUnlock ui(shown);
  const auto lock = platform::LockForChanges(dataFolder, ui);
  if (!lock) {
    ui.ShowMessage(platform::JoinLines({lock.Reason(), archive::kNothingChanged}));
    return false;
  }
  const auto files = LastChangeBackups(dataFolder);
  if (!files) {
    ui.ShowMessage(files.Reason());
    return false;
  }
  platform::FileTransaction transaction(lock.Value());
  for (const RestoredFile& file : files.Value()) {
    const std::string backup = dataFolder + file.Backup;
    const auto source = platform::InputFile::Open(backup);
    if (!source) {
      ui.ShowMessage(platform::JoinLines(
          {platform::CannotReadMessage(backup, source.Reason()), archive::kNothingChanged}));
      return false;
    }
    const auto copy = [&source](platform::SafeFileWriter& out) {
      return platform::CopyRange(source.Value(), 0, source.Value().Length(), out);
    };
    if (auto staged = transaction.StageWritten(dataFolder + file.Name, backup, copy); !staged) {
      ui.ShowMessage(platform::JoinLines({"Cannot write " + dataFolder + file.Name + ": " +
                                              staged.Reason(),
                                          archive::kNothingChanged}));
      return false;
    }
  }
  if (auto committed = transaction.Commit(); !committed) {
    ui.ShowMessage(committed.FailureMessage(
        platform::JoinLines({committed.Outcome.Reason(), archive::kNothingChanged})));
    return false;
  }
  ui.ShowMessage(RestoredMessage(dataFolder, files.Value()));
  return true;
}

void OnRestoreMenu(Session& session) {
  RestorePreviousVersion(session.DataFolder, session.Ui);
  LoadExtIndex(session);
}

}  // namespace zorvane::app
