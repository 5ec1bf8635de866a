#include "unitdesc/index_rebuild.h"

#include <limits>
#include <optional>

#include "archive/index_files.h"
#include "archive/index_tables.h"
#include "platform/number_text.h"
#include "unitdesc/unit_messages.h"

namespace zorvane::unitdesc {

namespace {

using archive::ArchiveRecord;
using archive::MemberRecord;
using platform::Status;

constexpr std::int64_t kLargestOffset = std::numeric_limits<std::int32_t>::max();

std::optional<std::size_t> FindAudio(std::span<const MemberRecord> table) {
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (platform::UpperCase(archive::ComparableName(table[r].Name)) == "AUDIO") return r;
  }
  return std::nullopt;
}

// How the groups of PFPDATA.IDX fail to match the archives of EXT.IDX; empty when they match.
std::string GroupDisagreement(const CompleteIndex& index, std::size_t archives) {
  const auto& starts = index.GroupStarts;
  if (starts.empty() || starts.front() != 0) {
    return "The first record of PFPDATA.IDX does not open an archive: its offset is not 0.";
  }
  if (starts.back() != index.MemberTable.size() - 1) {
    return "The last record of PFPDATA.IDX is not the terminator that follows the last archive "
           "(a record with offset 0).";
  }
  if (starts.size() != archives) {
    return "PFPDATA.IDX holds " + std::to_string(starts.size()) +
           " groups of members (the terminator included), EXT.IDX " + std::to_string(archives) +
           " archive records.";
  }
  return {};
}

// The records of `table` that open the groups, found as the game's index is read back: the
// first record named as the next group's first member, after the previous group start.
std::vector<std::size_t> GroupStartsByName(std::span<const MemberRecord> table,
                                           std::span<const archive::RecordName> firstMembers) {
  std::vector<std::size_t> found;
  for (std::size_t r = 0; r < table.size() && found.size() < firstMembers.size(); ++r) {
    if (archive::ComparableName(table[r].Name) ==
        archive::ComparableName(firstMembers[found.size()])) {
      found.push_back(r);
    }
  }
  return found;
}

std::string LostGroupDetail(const std::vector<std::size_t>& found,
                            const std::vector<std::size_t>& expected,
                            const InstallationToChange& installation) {
  std::size_t k = 0;
  while (k < found.size() && found[k] == expected[k]) ++k;
  const std::string name = archive::ComparableName(installation.Index.ArchiveFirstMember[k]);
  const std::string archiveName = archive::ComparableName(installation.Archives[k].Name) + ".PFP";
  std::string detail = "After the insertion the archive " + archiveName +
                       " could not be found again by the name of its first member, '" + name + "'";
  if (k < found.size() && found[k] < expected[k]) detail += ": a member before it has that name";
  return detail + ".";
}

// Appends one record per unit, each following the one before: the first at `start`, the end
// of the members kept before it. Returns the sum of the lengths, or the message that refuses.
platform::Result<std::int64_t> AppendUnitRecords(std::span<const UnitRecord> units,
                                                 std::int64_t start, const std::string& textPath,
                                                 std::vector<MemberRecord>& rewrite) {
  std::int64_t offset = start;
  for (const UnitRecord& unit : units) {
    if (offset > kLargestOffset) return Status::Failure(TextArchiveTooLargeMessage(textPath));
    MemberRecord record{unit.Name, unit.Length, static_cast<std::int32_t>(offset)};
    archive::NormaliseName(record.Name);
    // Every reader takes a record with offset 0 for the first member of an archive.
    if (record.Offset == 0 && !rewrite.empty()) {
      return Status::Failure(
          UnitAtArchiveStartMessage(archive::ComparableName(record.Name), textPath));
    }
    rewrite.push_back(record);
    offset += unit.Length;
  }
  if (offset > kLargestOffset) return Status::Failure(TextArchiveTooLargeMessage(textPath));
  return offset - start;
}

// The new EXT.IDX: archive k starts at group start k and ends where the next one starts; the
// end record holds four spaces in both numbers.
std::vector<ArchiveRecord> ChainedArchives(std::span<const ArchiveRecord> archives,
                                           const std::vector<std::size_t>& starts) {
  std::vector<ArchiveRecord> chained;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    ArchiveRecord record = archives[k];
    archive::NormaliseName(record.Name);
    record.FirstMember = static_cast<std::int32_t>(starts[k]);
    record.EndMember = k + 1 < starts.size() ? static_cast<std::int32_t>(starts[k + 1]) : 0;
    chained.push_back(record);
  }
  chained.back().FirstMember = kEndRecordNumber;
  chained.back().EndMember = kEndRecordNumber;
  return chained;
}

}  // namespace

platform::Result<RebuiltIndex> RebuildIndex(const InstallationToChange& installation,
                                            std::span<const UnitRecord> units) {
  const std::vector<MemberRecord>& table = installation.Index.MemberTable;
  const std::string indexPath = installation.DataFolder + archive::kMemberIndexName;
  const std::string textPath = installation.DataFolder + kTextArchiveName;

  const auto members = FindUnitMembers(table);
  if (!members) return Status::Failure(kCannotFindUnitDescriptions);
  const auto audio = FindAudio(table);
  if (!audio) return Status::Failure(AudioMissingMessage(indexPath));
  if (*audio != members->End) return Status::Failure(AudioMisplacedMessage(indexPath));
  if (const std::string detail =
          GroupDisagreement(installation.Index, installation.Archives.size());
      !detail.empty()) {
    return Status::Failure(ArchivesDisagreeMessage(
        indexPath, installation.DataFolder + archive::kArchiveIndexName, detail));
  }

  const std::size_t firstUnit = members->First;
  const std::size_t audioIndex = *audio;
  const std::size_t newCount = firstUnit + units.size() + (table.size() - audioIndex);
  if (newCount > static_cast<std::size_t>(archive::kMemberCapacity)) {
    return Status::Failure(TooManyMembersMessage(indexPath, newCount));
  }
  const std::int64_t kept =
      firstUnit == 0 ? 0 : std::int64_t{table[firstUnit - 1].Offset} + table[firstUnit - 1].Length;
  if (kept < 0 || static_cast<std::uint64_t>(kept) > installation.TextLength) {
    return Status::Failure(
        TextBeforeUnitsOutsideMessage(indexPath, kept, textPath, installation.TextLength));
  }

  RebuiltIndex rebuilt;
  rebuilt.TextKept = static_cast<std::uint64_t>(kept);
  std::vector<MemberRecord>& rewrite = rebuilt.RewriteTable;
  rewrite.reserve(newCount);
  rewrite.assign(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(firstUnit));
  auto unitLengths = AppendUnitRecords(units, kept, textPath, rewrite);
  if (!unitLengths) return Status::Failure(unitLengths.Reason());
  rebuilt.UnitLengths = unitLengths.Value();
  // The members of the other archives keep their offsets: their archive files do not change.
  rewrite.insert(rewrite.end(), table.begin() + static_cast<std::ptrdiff_t>(audioIndex),
                 table.end());

  const auto& starts = installation.Index.GroupStarts;
  std::vector<std::size_t> expected{0};
  for (std::size_t g = 1; g < starts.size(); ++g) {
    expected.push_back(starts[g] - audioIndex + firstUnit + units.size());
  }
  const auto found = GroupStartsByName(rewrite, installation.Index.ArchiveFirstMember);
  if (found != expected) {
    return Status::Failure(
        ArchivesDisagreeMessage(indexPath, installation.DataFolder + archive::kArchiveIndexName,
                                LostGroupDetail(found, expected, installation)));
  }

  rebuilt.ArchiveTable = ChainedArchives(installation.Archives, expected);
  return rebuilt;
}

}  // namespace zorvane::unitdesc
