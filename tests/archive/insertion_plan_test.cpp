#include <gtest/gtest.h>

#include <limits>

#include "archive/insertion_plan.h"
#include "small_installation.h"
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

struct SearchCase {
  std::string BaseName;
  std::optional<std::size_t> Record;
  int Group;
};

void PrintTo(const SearchCase& c, std::ostream* out) {
  *out << '"' << c.BaseName << '"';
}

class MemberSearch : public ::testing::TestWithParam<SearchCase> {};

TEST_P(MemberSearch, FindsTheFirstRecordOfThatNameAndItsArchive) {
  std::vector<MemberRecord> table = testing::SmallIndexRecords();
  const auto match = FindMemberToReplace(table, GetParam().BaseName);
  ASSERT_EQ(match.has_value(), GetParam().Record.has_value());
  if (match) {
    EXPECT_EQ(match->Record, *GetParam().Record);
    EXPECT_EQ(match->Group, GetParam().Group);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, MemberSearch,
    ::testing::Values(SearchCase{"README", 0, 0}, SearchCase{"MAINMENU", 2, 1},
                      SearchCase{"ICONS", 3, 1},    // padded with spaces in the index
                      SearchCase{"BUTTONS", 4, 1},  // not the PAL member of that name
                      SearchCase{"DAY", 6, 2}, SearchCase{"  DAY ", 6, 2},
                      SearchCase{"CREDITS", std::nullopt, 0},  // the member is in lower case
                      SearchCase{"credits", 1, 0}, SearchCase{"MAINMENUX", std::nullopt, 0},
                      SearchCase{"", std::nullopt, 0}));  // the terminator is never looked at

TEST(MemberSearch, StoresThePassedNamesBackPaddedWithSpaces) {
  std::vector<MemberRecord> table = testing::SmallIndexRecords();
  ASSERT_TRUE(FindMemberToReplace(table, "ICONS"));
  EXPECT_EQ(NameBytes(table[0].Name), "README  ");
  EXPECT_EQ(NameBytes(table[3].Name), "ICONS   ");
  EXPECT_EQ(NameBytes(table[4].Name), std::string_view("BUTTONS\0", 8));
}

std::vector<MemberRecord> PlannedRecords(std::span<const MemberRecord> records, std::size_t record,
                                         std::uint64_t archiveLength, std::uint64_t newLength) {
  auto plan = PlanInsertion(records, record, archiveLength, newLength);
  if (!std::holds_alternative<InsertionPlan>(plan)) {
    ADD_FAILURE() << "refused with fault " << static_cast<int>(std::get<PlanFault>(plan));
    return {};
  }
  return std::get<InsertionPlan>(plan).Records;
}

TEST(PlanInsertion, CopiesTheBytesAroundTheMember) {
  const auto records = testing::SmallIndexRecords();
  auto middle = PlanInsertion(records, 3, 24, 105);
  ASSERT_TRUE(std::holds_alternative<InsertionPlan>(middle));
  EXPECT_EQ(std::get<InsertionPlan>(middle).LeadingLength, 8u);
  EXPECT_EQ(std::get<InsertionPlan>(middle).TailOffset, 13u);
  EXPECT_EQ(std::get<InsertionPlan>(middle).TailLength, 11u);
  auto last = PlanInsertion(records, 5, 24, 9);
  ASSERT_TRUE(std::holds_alternative<InsertionPlan>(last));
  EXPECT_EQ(std::get<InsertionPlan>(last).LeadingLength, 20u);
  EXPECT_EQ(std::get<InsertionPlan>(last).TailLength, 0u);
}

// An archive whose members do not lie back to back: the members after the replaced one keep
// their distances, and the records of other archives, which are not rewritten, keep theirs.
TEST(PlanInsertion, MovesLaterMembersByTheChangeInSizeAndLeavesOtherArchivesAlone) {
  const std::vector<MemberRecord> records{
      Member("A", 10, 0), Member("B", 5, 10), Member("C", 4, 20),   // 5 unused bytes before C
      Member("D", 3, 30), Member("E", 8, 0),  Member("F", 2, 100),  // F lies after a gap
      Member("", 0, 0)};
  EXPECT_EQ(PlannedRecords(records, 1, 40, 7),
            (std::vector<MemberRecord>{Member("A", 10, 0), Member("B", 7, 10), Member("C", 4, 17),
                                       Member("D", 3, 27), Member("E", 8, 0), Member("F", 2, 100),
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
        FaultCase{
            "Empty", {Member("A", 10, 0), Member("", 0, 0)}, 0, 10, 0, PlanFault::EmptyContent},
        FaultCase{"MemberPastTheEnd",
                  {Member("A", 4, 0), Member("B", 6, 4), Member("", 0, 0)},
                  1,
                  9,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
        FaultCase{"NegativeOffset",
                  {Member("A", 4, 0), Member("B", 6, -4), Member("", 0, 0)},
                  1,
                  10,
                  3,
                  PlanFault::IndexDoesNotMatchArchive},
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
        FaultCase{"LaterMemberBeforeTheNext",
                  {Member("A", 4, 0), Member("B", 3, 4), Member("C", 3, 1), Member("", 0, 0)},
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
        FaultCase{"LengthOverTheField",
                  {Member("A", 4, 0), Member("", 0, 0)},
                  0,
                  4,
                  std::uint64_t{1} << 31,
                  PlanFault::TooLarge},
        FaultCase{
            "OffsetOverTheField",
            {Member("A", 4, 0), Member("B", 6, 4), Member("C", 1, kLargest - 10), Member("", 0, 0)},
            0,
            std::uint64_t{1} << 31,
            100,
            PlanFault::TooLarge}),
    [](const auto& info) { return std::string(info.param.Label); });

}  // namespace
}  // namespace zorvane::archive
