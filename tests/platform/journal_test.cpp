#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/checksum.h"
#include "platform/journal.h"

namespace zorvane::platform {
namespace {

const Journal& OddJournal() {
  static const Journal journal{
      true,
      true,
      {"/games/DATA/", "/home/me/.zorvane/"},
      {{"/games/DATA/SHP.PFP", "/games/DATA/.zv-1", "/games/DATA/.zv-2", "/games/DATA/SHP_OLD.PFP",
        202000000, 0xfedcba9876543210ULL},
       // Names with spaces, a line end and a colon, an output without backup, a file outside.
       {"/games/DATA/a b\nc:d.BMP", "/games/DATA/.zv-3", "", "", 0, 0},
       {"/home/me/.zorvane/DAY.RGB", "/home/me/.zorvane/.zx-4", "", "", 1024, 7}}};
  return journal;
}

bool operator==(const JournalEntry& a, const JournalEntry& b) {
  return a.Target == b.Target && a.Temporary == b.Temporary && a.SecondName == b.SecondName &&
         a.Backup == b.Backup && a.Length == b.Length && a.Checksum == b.Checksum;
}

// Read back in a folder the installation was moved to, the paths inside it move with it.
TEST(Journal, ComesBackWhole) {
  const std::string text = SerialiseJournal(OddJournal(), "/games/DATA/");
  const auto read = ParseJournal(text, "/moved/DATA/");
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->Committed && read->Synced);
  EXPECT_EQ(read->Folders, (std::vector<std::string>{"/moved/DATA/", "/home/me/.zorvane/"}));
  ASSERT_EQ(read->Entries.size(), 3u);
  EXPECT_EQ(read->Entries[0].Target, "/moved/DATA/SHP.PFP");
  EXPECT_EQ(read->Entries[0].Backup, "/moved/DATA/SHP_OLD.PFP");
  EXPECT_EQ(read->Entries[0].Checksum, 0xfedcba9876543210ULL);
  EXPECT_EQ(read->Entries[1].Target, "/moved/DATA/a b\nc:d.BMP");
  EXPECT_TRUE(read->Entries[2] == OddJournal().Entries[2]);
  EXPECT_TRUE(ParseJournal(SerialiseJournal(*read, "/moved/DATA/"), "/games/DATA/")->Entries[0] ==
              OddJournal().Entries[0]);
}

// A journal cut anywhere, as a crash while writing it would leave it, is never taken for one.
TEST(Journal, ACutJournalIsNoJournal) {
  const std::string text = SerialiseJournal(OddJournal(), "/games/DATA/");
  for (std::size_t length = 0; length < text.size(); ++length) {
    EXPECT_FALSE(ParseJournal(text.substr(0, length), "/games/DATA/")) << length;
  }
}

TEST(Checksum, DependsOnEveryByteButNotOnHowTheyAreCut) {
  std::vector<std::uint8_t> bytes(1000);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  Checksum whole;
  whole.Add(bytes);
  for (std::size_t piece : {1u, 7u, 31u, 32u, 33u, 999u}) {
    Checksum cut;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      cut.Add(std::span(bytes).subspan(at, std::min(piece, bytes.size() - at)));
    }
    EXPECT_EQ(cut.Value(), whole.Value()) << piece;
  }
  for (std::size_t at : {0u, 31u, 32u, 500u, 995u, 999u}) {
    std::vector<std::uint8_t> changed = bytes;
    changed[at] ^= 1;
    Checksum other;
    other.Add(changed);
    EXPECT_NE(other.Value(), whole.Value()) << at;
  }
  Checksum longer;
  longer.Add(bytes);
  longer.Add(std::vector<std::uint8_t>{0});
  EXPECT_NE(longer.Value(), whole.Value());
}

}  // namespace
}  // namespace zorvane::platform
