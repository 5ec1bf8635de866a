#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/checksum.h"
#include "platform/journal.h"

namespace zorvane::platform {
namespace {

// Names with spaces, a line end and a colon, an output without backup, a file outside.
const Journal kJournal{true,
                       true,
                       {"/games/DATA/", "/home/me/.zorvane/"},
                       {{"/games/DATA/SHP.PFP", "/games/DATA/.zv-1", "/games/DATA/.zv-2",
                         "/games/DATA/SHP_OLD.PFP", 202000000, 0xfedcba9876543210ULL},
                        {"/games/DATA/a b\nc:d.BMP", "/games/DATA/.zv-3", "", "", 0, 0},
                        {"/home/me/.zorvane/DAY.RGB", "/home/me/.zorvane/.zx-4", "", "", 1024, 7}}};

// Read back in a folder the installation was moved to, the paths inside it move with it; a
// journal cut anywhere, as a crash while writing it would leave it, is never taken for one.
TEST(Journal, ComesBackWholeOrNotAtAll) {
  const std::string text = SerialiseJournal(kJournal, "/games/DATA/");
  const auto read = ParseJournal(text, "/moved/DATA/");
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->Committed && read->Synced);
  EXPECT_EQ(read->Folders, (std::vector<std::string>{"/moved/DATA/", "/home/me/.zorvane/"}));
  ASSERT_EQ(read->Entries.size(), 3u);
  const JournalEntry& first = read->Entries[0];
  EXPECT_EQ(first.Target + first.Temporary + first.SecondName + first.Backup,
            "/moved/DATA/SHP.PFP/moved/DATA/.zv-1/moved/DATA/.zv-2/moved/DATA/SHP_OLD.PFP");
  EXPECT_EQ(first.Length, 202000000u);
  EXPECT_EQ(first.Checksum, 0xfedcba9876543210ULL);
  EXPECT_EQ(read->Entries[1].Target, "/moved/DATA/a b\nc:d.BMP");
  EXPECT_EQ(read->Entries[2].Temporary, "/home/me/.zorvane/.zx-4");
  EXPECT_EQ(SerialiseJournal(*read, "/moved/DATA/"), text);
  for (std::size_t length = 0; length < text.size(); ++length) {
    EXPECT_FALSE(ParseJournal(text.substr(0, length), "/games/DATA/")) << length;
  }
}

TEST(Checksum, DependsOnEveryByteButNotOnHowTheyAreCut) {
  std::vector<std::uint8_t> bytes(1000);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  const auto sum = [](const std::vector<std::uint8_t>& all, std::size_t piece) {
    Checksum checksum;
    for (std::size_t at = 0; at < all.size(); at += piece) {
      checksum.Add(std::span(all).subspan(at, std::min(piece, all.size() - at)));
    }
    return checksum.Value();
  };
  const std::uint64_t whole = sum(bytes, bytes.size());
  for (std::size_t piece : {1u, 7u, 31u, 32u, 33u, 999u}) EXPECT_EQ(sum(bytes, piece), whole);
  for (std::size_t at : {0u, 31u, 32u, 500u, 995u, 999u}) {
    std::vector<std::uint8_t> changed = bytes;
    changed[at] ^= 1;
    EXPECT_NE(sum(changed, 64), whole) << at;
  }
  bytes.push_back(0);
  EXPECT_NE(sum(bytes, 64), whole);
}

}  // namespace
}  // namespace zorvane::platform
