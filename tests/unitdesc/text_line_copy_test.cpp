#include <gtest/gtest.h>

#include <random>

#include "platform/copy_range.h"
#include "platform/text_lines.h"
#include "support/files.h"
#include "support/temp_folder.h"
#include "unitdesc/text_line_copy.h"

namespace zorvane::unitdesc {
namespace {

struct LineCase {
  std::string Text;
  std::string Lines;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, EachLineIsFollowedByCrLf) {
  EXPECT_EQ(NormaliseLineEnds(GetParam().Text), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineEnds,
    ::testing::Values(LineCase{"", ""}, LineCase{"a", "a\r\n"}, LineCase{"a\r\n", "a\r\n"},
                      LineCase{"a\r", "a\r\n"}, LineCase{"a\rb", "a\r\nb\r\n"},
                      LineCase{"a\nb", "a\nb\r\n"},  // a lone LF stays inside its line
                      LineCase{"a\n", "a\n\r\n"}, LineCase{"\r\n\r\n", "\r\n\r\n"},
                      LineCase{"\r\r\n", "\r\n\r\n"}, LineCase{"a\n\rb\r\n", "a\n\r\nb\r\n"},
                      LineCase{"x\r\ny", "x\r\ny\r\n"}));

// Fed in pieces of any size, the text gives the lines the line reader finds in it whole.
TEST(LineEndNormaliser, PiecesOfAnySizeGiveTheLinesOfTheWholeText) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', ' '};
  for (int round = 0; round < 300; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    std::string out;
    LineEndNormaliser normaliser;
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t piece = std::min<std::size_t>(random() % 4, text.size() - at);
      normaliser.Feed(std::string_view(text).substr(at, piece), out);
      at += piece;
    }
    normaliser.Finish(out);
    EXPECT_EQ(out, platform::TextFileContent(platform::SplitTextLines(text)))
        << "text of " << text.size() << " bytes in round " << round;
  }
}

TEST(CopyTextLines, ALineEndAcrossTheBufferBoundaryStaysOne) {
  testing::TempFolder temp;
  // A CR as the last byte of the first buffer, its LF the first of the second; a lone CR at
  // the end of the second buffer.
  std::string text = "skipped\r\n";
  text += std::string(platform::kTransferBufferSize - 1, 'x') + "\r\n";
  text += std::string(platform::kTransferBufferSize - 2, 'y') + "\r";
  text += "last";
  testing::WriteFile(temp / "TXT.PFP", text);
  auto source = platform::InputFile::Open(temp / "TXT.PFP");
  ASSERT_TRUE(source);
  auto target = platform::SafeFileWriter::Create(temp / "out");
  ASSERT_TRUE(target);
  const auto written =
      CopyTextLines(source.Value(), temp / "TXT.PFP", 9, target.Value(), temp / "out");
  ASSERT_TRUE(written);
  ASSERT_TRUE(target.Value().Flush());
  const std::string out = target.Value().Release();
  const std::string expected = std::string(platform::kTransferBufferSize - 1, 'x') + "\r\n" +
                               std::string(platform::kTransferBufferSize - 2, 'y') + "\r\n" +
                               "last\r\n";
  EXPECT_EQ(written.Value(), expected.size());
  EXPECT_TRUE(testing::ReadText(out) == expected);
}

}  // namespace
}  // namespace zorvane::unitdesc
