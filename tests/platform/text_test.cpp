#include <gtest/gtest.h>

#include "platform/number_text.h"
#include "platform/text_lines.h"

namespace zorvane::platform {
namespace {

struct LinesCase {
  std::string Text;
  std::vector<std::string> Lines;
};

class TextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(TextLines, EndAtCrLfOrALoneCr) {
  EXPECT_EQ(SplitTextLines(GetParam().Text), GetParam().Lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextLines,
                         ::testing::Values(LinesCase{"", {}}, LinesCase{"one", {"one"}},
                                           LinesCase{"one\r\ntwo\r\n", {"one", "two"}},
                                           LinesCase{"one\r\ntwo", {"one", "two"}},
                                           LinesCase{"one\rtwo\r", {"one", "two"}},
                                           LinesCase{"a\nb\r\nc", {"a\nb", "c"}},
                                           LinesCase{"\r\n\r\nx", {"", "", "x"}},
                                           LinesCase{"x\r\r\n", {"x", ""}}));

TEST(TextLines, ReaderCountsTheBytesConsumed) {
  TextLineReader reader("ab\r\ncd\ref");
  EXPECT_EQ(reader.Next(), "ab");
  EXPECT_EQ(reader.Position(), 4u);
  EXPECT_EQ(reader.Next(), "cd");
  EXPECT_EQ(reader.Position(), 7u);
  EXPECT_EQ(reader.Next(), "ef");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(TextLines, MessagesAndFilesUseCrLf) {
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb");
  EXPECT_EQ(JoinLines({"a", "b"}, "\r\n\r\n"), "a\r\n\r\nb");
  EXPECT_EQ(TextFileContent({"JASC-PAL", "0100"}), "JASC-PAL\r\n0100\r\n");
}

struct NumberCase {
  std::int64_t Value;
  const char* Text;
};

class SignPosition : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SignPosition, LeavesASpaceWhereTheSignOfANegativeNumberGoes) {
  EXPECT_EQ(SignedNumberText(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Numbers, SignPosition,
                         ::testing::Values(NumberCase{0, " 0"}, NumberCase{2, " 2"},
                                           NumberCase{123456, " 123456"}, NumberCase{-1, "-1"},
                                           NumberCase{-2147483648LL, "-2147483648"},
                                           NumberCase{2147483647LL, " 2147483647"}));

TEST(TextFormat, AlignmentTrimmingAndCase) {
  EXPECT_EQ(RightAligned(" 0", 15), std::string(14, ' ') + "0");
  EXPECT_EQ(RightAligned("toolong", 3), "toolong");
  EXPECT_EQ(LeftAligned("NAME", 12), "NAME        ");
  EXPECT_EQ(TrimSpaces("  C:\\GAME\\DATA\\  "), "C:\\GAME\\DATA\\");
  EXPECT_EQ(TrimSpaces("\tx "), "\tx");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(UpperCase("mainmenu_1.Bmp"), "MAINMENU_1.BMP");
}

}  // namespace
}  // namespace zorvane::platform
