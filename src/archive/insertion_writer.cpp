#include "archive/insertion_writer.h"

#include "archive/index_files.h"
#include "platform/copy_range.h"

namespace zorvane::archive {

namespace {

platform::Status Explained(platform::Status status, const std::string& what) {
  if (status) return status;
  return platform::Status::Failure(what + ": " + status.Reason());
}

}  // namespace

platform::CommitResult WriteInsertion(const platform::FolderLock& lock, const InsertionFiles& files,
                                      const platform::InputFile& archive,
                                      const platform::InputFile& chosen, const InsertionPlan& plan,
                                      std::int32_t indexHeader) {
  platform::FileTransaction replacement(lock);

  auto archiveWriter = replacement.Stage(files.ArchivePath, files.ArchiveBackup);
  if (!archiveWriter) return {platform::Status::Failure(archiveWriter.Reason())};
  platform::SafeFileWriter& newArchive = *archiveWriter.Value();
  const std::string copyingArchive = "Cannot copy " + files.ArchivePath + " into its new version";
  if (auto copied = platform::CopyRange(archive, 0, plan.LeadingLength, newArchive); !copied) {
    return {Explained(copied, copyingArchive)};
  }
  if (auto copied = platform::CopyRange(chosen, 0, chosen.Length(), newArchive); !copied) {
    return {Explained(copied,
                      "Cannot copy " + files.ChosenPath + " into the new " + files.ArchivePath)};
  }
  if (auto copied = platform::CopyRange(archive, plan.TailOffset, plan.TailLength, newArchive);
      !copied) {
    return {Explained(copied, copyingArchive)};
  }

  if (auto staged = replacement.StageBytes(files.IndexPath, files.IndexBackup,
                                           SerialiseMemberIndex(indexHeader, plan.Records));
      !staged) {
    return {staged};
  }
  return replacement.Commit();
}

}  // namespace zorvane::archive
