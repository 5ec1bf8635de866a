#include "archive/installation_check.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>

#include "archive/ext_index.h"
#include "archive/index_files.h"
#include "archive/index_tables.h"
#include "archive/insertion_messages.h"
#include "platform/number_text.h"
#include "platform/failure_messages.h"
#include "platform/file_system.h"
#include "platform/file_transaction.h"

namespace zorvane::archive {

namespace {

// The problems of one file: the first kProblemsShownPerFile lines, then how many more there
// were, so that a badly broken index of thousands of records still gives a readable answer.
class FileProblems {
 public:
  FileProblems(std::vector<std::string>& lines, std::string path)
      : lines_(lines), path_(std::move(path)) {}
  FileProblems(const FileProblems&) = delete;
  FileProblems& operator=(const FileProblems&) = delete;
  void Add(std::string line) {
    if (shown_ < kProblemsShownPerFile) {
      lines_.push_back(std::move(line));
      ++shown_;
    } else {
      ++more_;
    }
  }

  // Says how many were not shown; called once, after the last Add.
  void Close() {
    if (more_ > 0) {
      lines_.push_back("... and " + std::to_string(more_) + " more problems in " + path_ + ".");
    }
  }

 private:
  std::vector<std::string>& lines_;
  std::string path_;
  int shown_ = 0;
  int more_ = 0;
};

std::string ByteCount(std::int64_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

// Reads an index file whose length must be `headerSize` plus whole records.
std::optional<platform::Bytes> ReadIndex(const std::string& path, std::size_t headerSize,
                                         std::vector<std::string>& problems) {
  if (!platform::FileExists(path)) {
    problems.push_back("The index file " + path + " does not exist.");
    return std::nullopt;
  }
  auto bytes = headerSize == 0 ? ReadArchiveIndexBytes(path) : ReadMemberIndexBytes(path);
  if (!bytes) {
    problems.push_back(bytes.Reason());
    return std::nullopt;
  }
  const std::size_t length = bytes.Value().size();
  if (length < headerSize || (length - headerSize) % kRecordSize != 0) {
    problems.push_back("The index file " + path + " does not end on a whole record: it has " +
                       ByteCount(static_cast<std::int64_t>(length)) + ", which is not " +
                       (headerSize == 0 ? std::string("a multiple of 16.")
                                        : std::to_string(headerSize) + " plus a multiple of 16."));
  }
  return std::move(bytes).Value();
}

// Where each archive's records lie in PFPDATA.IDX: group g is [Starts[g], Starts[g + 1]).
struct Groups {
  std::vector<std::size_t> Starts;  // the records with Offset 0, terminator included
  std::size_t Archives = 0;         // groups that are archives: all but the terminator's
};

Groups FindGroups(const std::vector<MemberRecord>& records, const std::string& indexPath,
                  std::vector<std::string>& problems) {
  Groups groups;
  for (std::size_t r = 0; r < records.size(); ++r) {
    if (records[r].Offset == 0) groups.Starts.push_back(r);
  }
  if (records.empty()) {
    problems.push_back("The index file " + indexPath +
                       " holds no records, not even the terminator.");
    return groups;
  }
  if (records.front().Offset != 0) {
    problems.push_back("The first record of " + indexPath + ", " +
                       ComparableName(records.front().Name) + ", has Offset " +
                       std::to_string(records.front().Offset) +
                       " instead of 0: the records before the first one with Offset 0 belong "
                       "to no archive.");
  }
  groups.Archives = groups.Starts.size();
  if (records.back().Offset == 0) {
    --groups.Archives;
  } else {
    problems.push_back("The last record of " + indexPath + ", " +
                       ComparableName(records.back().Name) +
                       ", is not the terminator: its Offset is " +
                       std::to_string(records.back().Offset) + ", not 0.");
  }
  if (groups.Starts.size() > static_cast<std::size_t>(kGroupCapacity)) {
    problems.push_back(TooManyArchivesMessage(indexPath, kGroupCapacity));
  }
  return groups;
}

// EXT.IDX against the groups of PFPDATA.IDX: one record per archive and one for the
// terminator, each archive's FirstMember at its group's first record, each name a file name.
// The terminator's record is not looked at beyond its being there (the unit-description
// insertion writes four spaces into its numbers).
void CheckArchiveIndex(const std::vector<ArchiveRecord>& archives, const Groups& groups,
                       const std::string& archiveIndexPath, const std::string& memberIndexPath,
                       std::vector<std::string>& problems) {
  if (archives.size() != groups.Archives + 1) {
    problems.push_back("The index files do not describe the same archives: " + archiveIndexPath +
                       " has " + std::to_string(archives.size()) + " records, but " +
                       memberIndexPath + " has " + std::to_string(groups.Archives) +
                       " archive groups, which need " + std::to_string(groups.Archives + 1) +
                       " (one more for the terminator).");
  }
  FileProblems found(problems, archiveIndexPath);
  const std::size_t compared = std::min(archives.size(), groups.Archives);
  for (std::size_t k = 0; k < compared; ++k) {
    const std::string name = ComparableName(archives[k].Name);
    const std::string record = "record " + std::to_string(k);
    if (archives[k].FirstMember != static_cast<std::int64_t>(groups.Starts[k])) {
      found.Add("In " + archiveIndexPath + ", " + record + " (" + name + ") has FirstMember " +
                std::to_string(archives[k].FirstMember) + ", but its group in " + kMemberIndexName +
                " starts at record " + std::to_string(groups.Starts[k]) + ".");
    }
    if (!NamesAFileOfTheFolder(name)) {
      found.Add("In " + archiveIndexPath + ", the name '" + name + "' of " + record +
                " is not the name of a file.");
    }
  }
  found.Close();
}

// The members of one archive: back to back from byte 0, inside it, and ending at its end.
void CheckMembers(const std::vector<MemberRecord>& records, std::size_t first, std::size_t end,
                  const std::string& archivePath, std::int64_t archiveLength,
                  std::vector<std::string>& problems) {
  FileProblems found(problems, archivePath);
  std::int64_t previousEnd = 0;
  const auto memberOf = [&](std::size_t r) {
    return ComparableName(records[r].Name) + " (record " + std::to_string(r) + " of " +
           kMemberIndexName + ")";
  };
  for (std::size_t r = first; r < end; ++r) {
    const MemberRecord& member = records[r];
    const auto said = [&] { return "In " + archivePath + ", the member " + memberOf(r); };
    if (r > first && member.Offset != previousEnd) {
      found.Add(said() + " starts at byte " + std::to_string(member.Offset) + " instead of " +
                std::to_string(previousEnd) + ", right after the member before it.");
    }
    if (member.Length < 0) {
      found.Add(said() + " has a negative length, " + std::to_string(member.Length) + ".");
    } else if (member.Offset >= 0 && std::int64_t{member.Offset} + member.Length > archiveLength) {
      found.Add(said() + " at byte " + std::to_string(member.Offset) + " with length " +
                std::to_string(member.Length) + " goes past the end of the archive (" +
                ByteCount(archiveLength) + ").");
    }
    previousEnd = std::int64_t{member.Offset} + member.Length;
  }
  // A last member of negative length has been reported; where it ends means nothing.
  if (records[end - 1].Length >= 0 && previousEnd < archiveLength) {
    found.Add(archivePath + " has " + ByteCount(archiveLength - previousEnd) +
              " after its last member " + memberOf(end - 1) + ".");
  }
  found.Close();
}

// The path the check reads for a file of the installation: its own, or the file read in its
// place.
class CheckedFiles {
 public:
  CheckedFiles(const std::string& dataFolder, const FilesInstead& instead)
      : dataFolder_(dataFolder), instead_(instead) {}
  std::string PathOf(const std::string& name) const {
    const auto other = instead_.find(platform::UpperCase(name));
    return dataFolder_ + (other == instead_.end() ? name : other->second);
  }
  const std::string& Folder() const { return dataFolder_; }

 private:
  const std::string& dataFolder_;
  const FilesInstead& instead_;
};

void CheckArchives(const CheckedFiles& files, const std::vector<MemberRecord>& records,
                   const std::vector<ArchiveRecord>& archives, const Groups& groups,
                   std::vector<std::string>& problems) {
  const std::size_t compared = std::min(archives.size(), groups.Archives);
  for (std::size_t k = 0; k < compared; ++k) {
    const std::string name = ComparableName(archives[k].Name);
    if (!NamesAFileOfTheFolder(name)) continue;  // said with EXT.IDX
    const std::string path = files.PathOf(name + kArchiveExtension);
    if (!platform::FileExists(path)) {
      problems.push_back("The archive " + path + " does not exist.");
      continue;
    }
    const auto length = platform::FileLength(path);
    if (!length) {
      problems.push_back(platform::CannotReadMessage(path, length.Reason()));
      continue;
    }
    // Without a terminator the last archive runs to the last record.
    const std::size_t end = k + 1 < groups.Starts.size() ? groups.Starts[k + 1] : records.size();
    CheckMembers(records, groups.Starts[k], end, path, static_cast<std::int64_t>(length.Value()),
                 problems);
  }
}

std::vector<std::string> Check(const CheckedFiles& files) {
  const std::string& dataFolder = files.Folder();
  std::vector<std::string> problems;
  if (platform::JournalPending(dataFolder)) {
    problems.push_back("An interrupted change of " + dataFolder +
                       " has not been finished or undone (the hidden file " +
                       platform::kJournalFileName + " is there).");
  }
  const std::string memberIndexPath = files.PathOf(kMemberIndexName);
  const std::string archiveIndexPath = files.PathOf(kArchiveIndexName);
  const auto memberIndexBytes = ReadIndex(memberIndexPath, kIndexHeaderSize, problems);
  const auto archiveIndexBytes = ReadIndex(archiveIndexPath, 0, problems);
  if (!memberIndexBytes || !archiveIndexBytes) return problems;

  const std::vector<MemberRecord> records = ParseMemberIndex(*memberIndexBytes).Records;
  const std::vector<ArchiveRecord> archives = ParseArchiveIndex(*archiveIndexBytes);
  const Groups groups = FindGroups(records, memberIndexPath, problems);
  if (records.empty()) return problems;
  CheckArchiveIndex(archives, groups, archiveIndexPath, memberIndexPath, problems);
  CheckArchives(files, records, archives, groups, problems);
  return problems;
}

}  // namespace

std::vector<std::string> CheckInstallation(const std::string& dataFolder) {
  // The files are read as one program left them, not while another changes them.
  const auto reading = platform::FolderLock::Take(dataFolder, platform::LockMode::Shared);
  if (!reading) return {reading.Reason()};
  return CheckInstallationWith(dataFolder, {});
}

std::vector<std::string> CheckInstallationWith(const std::string& dataFolder,
                                               const FilesInstead& instead) {
  try {
    return Check(CheckedFiles(dataFolder, instead));
  } catch (const std::exception& failure) {
    return {"The check of " + dataFolder + " has failed: " + failure.what()};
  }
}

std::string NoProblemsMessage(const std::string& dataFolder) {
  return "No problems found in " + dataFolder + ".";
}

}  // namespace zorvane::archive
