// Feeds arbitrary index records, archive lengths and file lengths to the planning of a sprite
// insertion, and checks what it plans: the bytes it keeps lie inside the old archive, the new
// index differs from the old one only where the member and the later members of its archive
// are, and no record other than a group start gets Offset 0.
// Input: archive length (4 bytes, little-endian), new length (4 bytes), one byte that picks the
// record whose name is searched for, then a PFPDATA.IDX.
#include <stdlib.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "archive/index_files.h"
#include "archive/insertion_plan.h"
#include "fuzz_support.h"
#include "platform/little_endian.h"

namespace {

constexpr std::size_t kMaxInput = 64 * 1024;
constexpr std::size_t kPrefix = 9;

using zorvane::fuzz::Check;

void CheckPlan(const std::vector<zorvane::archive::MemberRecord>& records, std::size_t member,
               std::uint64_t archiveLength, std::uint64_t newLength,
               const zorvane::archive::InsertionPlan& plan) {
  Check(plan.Records.size() == records.size());
  Check(plan.LeadingLength <= archiveLength);
  Check(plan.TailLength == 0 || plan.TailOffset + plan.TailLength == archiveLength);
  Check(plan.TailLength == 0 ||
        plan.LeadingLength + static_cast<std::uint64_t>(records[member].Length) <= plan.TailOffset);
  Check(plan.Records[member].Length == static_cast<std::int32_t>(newLength));
  Check(plan.Records[member].Offset == records[member].Offset);
  std::size_t groupEnd = member + 1;
  while (groupEnd < records.size() && records[groupEnd].Offset != 0) ++groupEnd;
  for (std::size_t k = 0; k < records.size(); ++k) {
    Check(plan.Records[k].Name == records[k].Name);
    if (k != member) Check(plan.Records[k].Length == records[k].Length);
    if (k + 1 == records.size()) {
      Check(plan.Records[k].Offset == 0);
    } else if (k <= member || k >= groupEnd) {
      Check(plan.Records[k].Offset == records[k].Offset);
    } else {
      Check(plan.Records[k].Offset > 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kPrefix || size > kMaxInput) return 0;
  using namespace zorvane;
  const std::uint64_t archiveLength = platform::ReadUint32(data);
  const std::uint64_t newLength = platform::ReadUint32(data + 4);
  auto records = archive::ParseMemberIndex({data + kPrefix, size - kPrefix}).Records;
  if (records.empty()) return 0;

  const std::vector<archive::MemberRecord> asRead = records;
  const std::string wanted = archive::ComparableName(records[data[8] % records.size()].Name);
  const auto match = archive::FindMemberToReplace(records, wanted);
  if (!match) return 0;
  Check(match->Record + 1 < records.size());
  Check(archive::ComparableName(records[match->Record].Name) == wanted);

  const auto plan = archive::PlanInsertion(asRead, match->Record, archiveLength, newLength);
  if (const auto* planned = std::get_if<archive::InsertionPlan>(&plan)) {
    CheckPlan(asRead, match->Record, archiveLength, newLength, *planned);
  }
  return 0;
}
