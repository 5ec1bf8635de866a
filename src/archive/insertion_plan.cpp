#include "archive/insertion_plan.h"

#include <limits>

#include "platform/number_text.h"
#include "platform/paths.h"

namespace zorvane::archive {

namespace {

constexpr std::int64_t kLargestField = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::optional<std::string> InsertionBaseName(std::string_view path) {
  const auto lastSeparator = path.find_last_of(platform::kSeparators);
  const std::size_t nameStart = lastSeparator == std::string_view::npos ? 0 : lastSeparator + 1;
  const auto lastPoint = path.rfind('.');
  if (lastPoint == std::string_view::npos || lastPoint < nameStart) return std::nullopt;
  return platform::UpperCase(path.substr(nameStart, lastPoint - nameStart));
}

std::optional<MemberMatch> FindMemberToReplace(std::vector<MemberRecord>& memberTable,
                                               std::string_view baseName) {
  const std::string_view wanted = platform::TrimSpaces(baseName);
  int group = 0;
  for (std::size_t i = 0; i + 1 < memberTable.size(); ++i) {
    RecordName& name = memberTable[i].Name;
    if (memberTable[i].Offset == 0) ++group;
    NormaliseName(name);
    if (ComparableName(name) == wanted) return MemberMatch{i, group - 1};
  }
  return std::nullopt;
}

std::variant<InsertionPlan, PlanFault> PlanInsertion(std::span<const MemberRecord> records,
                                                     std::size_t record,
                                                     std::uint64_t archiveLength,
                                                     std::uint64_t newLength) {
  if (record + 1 >= records.size()) return PlanFault::IndexDoesNotMatchArchive;
  if (newLength == 0) return PlanFault::EmptyContent;
  if (newLength > static_cast<std::uint64_t>(kLargestField)) return PlanFault::TooLarge;
  // Every number below is at most 2^63 - 1, so sums of two of them cannot overflow.
  if (archiveLength > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() / 4)) {
    return PlanFault::TooLarge;
  }
  const auto size = static_cast<std::int64_t>(archiveLength);
  const auto length = static_cast<std::int64_t>(newLength);
  const std::int64_t offset = records[record].Offset;
  const std::int64_t oldLength = records[record].Length;
  if (offset < 0 || oldLength < 0 || offset + oldLength > size) {
    return PlanFault::IndexDoesNotMatchArchive;
  }

  InsertionPlan plan;
  plan.LeadingLength = static_cast<std::uint64_t>(offset);
  plan.Records.assign(records.begin(), records.end());
  plan.Records[record].Length = static_cast<std::int32_t>(length);

  // A next record with Offset 0 opens the next archive (or is the terminator): the member was
  // the last of its archive, which now ends with the new content.
  const std::int64_t tail = records[record + 1].Offset;
  if (tail != 0) {
    // The later members must follow it back to back and lie in the archive: a gap or a member
    // past the end would be carried into the new files as if it were sound.
    if (tail != offset + oldLength) return PlanFault::IndexDoesNotMatchArchive;
    plan.TailOffset = static_cast<std::uint64_t>(tail);
    plan.TailLength = static_cast<std::uint64_t>(size - tail);
    // The bytes from `tail` on now start right after the new content.
    const std::int64_t shift = offset + length - tail;
    std::int64_t expected = tail;
    for (std::size_t k = record + 1; k < records.size() && records[k].Offset != 0; ++k) {
      if (records[k].Offset != expected || records[k].Length < 0) {
        return PlanFault::IndexDoesNotMatchArchive;
      }
      expected += records[k].Length;
      if (expected > size) return PlanFault::IndexDoesNotMatchArchive;
      const std::int64_t moved = records[k].Offset + shift;
      if (moved > kLargestField) return PlanFault::TooLarge;
      plan.Records[k].Offset = static_cast<std::int32_t>(moved);
    }
  }
  plan.Records.back().Offset = 0;
  return plan;
}

}  // namespace zorvane::archive
