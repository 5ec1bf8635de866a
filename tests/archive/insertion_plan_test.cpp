#include <gtest/gtest.h>

#include <limits>

#include "archive/insertion_plan.h"
#include "support/index_builder.h"

namespace zorvane::archive {
namespace {

using testing::Member;

struct BaseNameCase {
  std::string Path;
  std::optional<std::string> BaseName;
};

void PrintTo(const BaseNameCase& c, std::ostream* out) {
  *out << c.Path;
}

class BaseNameOfPath : public ::testing::TestWithParam<BaseNameCase> {};

TEST_P(BaseNameOfPath, IsTheUpperCaseNameBeforeTheLastPoint) {
  EXPECT_EQ(InsertionBaseName(GetParam().Path), GetParam().BaseName);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, BaseNameOfPath,
    ::testing::Values(BaseNameCase{"/game/edits/icons.shp", "ICONS"},
                      BaseNameCase{"/game/edits.v2/Buttons.SHP", "BUTTONS"},
                      BaseNameCase{"/game/edits/UNITICON.BMP", "UNITICON"},
                      BaseNameCase{"/game/edits/x_gr_dl.backup.shp", "X_GR_DL.BACKUP"},
                      BaseNameCase{"/game/edits/LONGNAME12.SHP", "LONGNAME12"},
                      BaseNameCase{"ICONS.SHP", "ICONS"}, BaseNameCase{"/game/edits/.SHP", ""},
                      BaseNameCase{"/game/edits.v2/ICONS", std::nullopt},
                      BaseNameCase{"/game/edits/ICONS", std::nullopt},
                      BaseNameCase{"ICONS", std::nullopt}));

std::vector<MemberRecord> PlannedRecords(std::span<const MemberRecord> records, std::size_t record,
                                         std::uint64_t archiveLength, std::uint64_t newLength) {
  auto plan = PlanInsertion(records, record, archiveLength, newLength);
  if (!std::holds_alternative<InsertionPlan>(plan)) {
    ADD_FAILURE() << "refused with fault " << static_cast<int>(std::get<PlanFault>(plan));
    return {};
  }
  return std::get<InsertionPlan>(plan).Records;
}

// The members after the replaced one move by the change in size; the records of other
// archives, which are not rewritten, keep their offsets, gaps included.
TEST(PlanInsertion, MovesLaterMembersByTheChangeInSizeAndLeavesOtherArchivesAlone) {
  const std::vector<MemberRecord> records{
      Member("A", 10, 0), Member("B", 5, 10), Member("C", 4, 15),   //
      Member("D", 3, 19), Member("E", 8, 0),  Member("F", 2, 100),  // F lies after a gap
      Member("", 0, 0)};
  EXPECT_EQ(PlannedRecords(records, 1, 22, 7),
            (std::vector<MemberRecord>{Member("A", 10, 0), Member("B", 7, 10), Member("C", 4, 17),
                                       Member("D", 3, 21), Member("E", 8, 0), Member("F", 2, 100),
                                       Member("", 0, 0)}));
}

TEST(PlanInsertion, WritesTheTerminatorWithOffsetZero) {
  const std::vector<MemberRecord> records{Member("A", 10, 0), Member("B", 5, 10),
                                          Member("", 0, 15)};
  EXPECT_EQ(PlannedRecords(records, 0, 15, 4),
            (std::vector<MemberRecord>{Member("A", 4, 0), Member("B", 5, 4), Member("", 0, 0)}));
}

struct FaultCase {
  const char* Label;
  std::vector<MemberRecord> Records;
  std::size_t Record;
  std::uint64_t ArchiveLength;
  std::uint64_t NewLength;
  PlanFault Fault;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.Label;
}

class PlanRefusal : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PlanRefusal, NamesTheFault) {
  const FaultCase& c = GetParam();
  const auto plan = PlanInsertion(c.Records, c.Record, c.ArchiveLength, c.NewLength);
  ASSERT_TRUE(std::holds_alternative<PlanFault>(plan));
  EXPECT_EQ(std::get<PlanFault>(plan), c.Fault);
}

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Faults, PlanRefusal,
    ::testing::Values(
        FaultCase{"NegativeLength",
                  {Member("A", -4, 0), Member("B", 6, 4), Member("", 0, 0)},
                  0,
                  10,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"NextMemberPastTheEnd",
                  {Member("A", 4, 0), Member("B", 6, 40), Member("", 0, 0)},
                  0,
                  10,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"NextMemberOverlaps",
                  {Member("A", 4, 0), Member("B", 6, 2), Member("", 0, 0)},
                  0,
                  10,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"GapBeforeTheNextMember",
                  {Member("A", 4, 0), Member("B", 6, 6), Member("", 0, 0)},
                  0,
                  12,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"GapFurtherOn",
                  {Member("A", 4, 0), Member("B", 2, 4), Member("C", 3, 8), Member("", 0, 0)},
                  0,
                  11,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"LaterMemberPastTheEnd",
                  {Member("A", 4, 0), Member("B", 2, 4), Member("C", 30, 6), Member("", 0, 0)},
                  0,
                  10,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"TheTerminator",
                  {Member("A", 4, 0), Member("", 0, 0)},
                  1,
                  4,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"OffsetOverTheField",
                  {Member("A", 4, 0), Member("B", kLargest - 10, 4), Member("C", 1, kLargest - 6),
                   Member("", 0, 0)},
                  0,
                  std::uint64_t{1} << 31,
                  100,
                  PlanFault::TooLarge}),
    [](const auto& info) { return std::string(info.param.Label); });

}  // namespace
}  // namespace zorvane::archive
