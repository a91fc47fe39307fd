// The byte rules that keep a control character out of a line, a file's
// record, a query or a terminal: which bytes count, and how the escapes and
// the quotes of a message show them.
#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace orva {
namespace {

using namespace std::string_literals;

TEST(IsControl, TakesTheC0CodesAndDelOnly) {
  for (int byte = 0; byte < 256; ++byte) {
    EXPECT_EQ(IsControl(static_cast<char>(byte)), byte < 32 || byte == 127) << byte;
  }
}

TEST(AppendHex, WritesTwoUpperCaseDigits) {
  std::string out = "%";
  for (const char c : "\x00\x0A\x7F\xFF"s) {
    AppendHex(out, c);
  }
  EXPECT_EQ(out, "%000A7FFF");
}

TEST(AppendEscaped, WritesBackslashesAndControlBytesAsEscapes) {
  std::string line = "row:";
  AppendEscaped(line, "a\\b\tc\n\x7F\xE9 \x00z"s);
  EXPECT_EQ(line, "row:a\\\\b\\x09c\\x0A\\x7F\xE9 \\x00z");
}

TEST(EscapedSize, CountsTheBytesAppendEscapedWrites) {
  for (const std::string& text : {""s, "DL1ABC"s, "a\\b"s, "\t\x7F\xE9\x00z"s, "\\\x01\\"s}) {
    std::string escaped;
    AppendEscaped(escaped, text);
    EXPECT_EQ(EscapedSize(text), escaped.size()) << QuotedForMessage(text);
  }
}

TEST(WithoutByteOrderMark, DropsOnlyAWholeMarkAtTheStart) {
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF<EOH>"), "<EOH>");
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB\xBF"), "");
  EXPECT_EQ(WithoutByteOrderMark("\xEF\xBB<EOH>"), "\xEF\xBB<EOH>");
  EXPECT_EQ(WithoutByteOrderMark("<EOH>\xEF\xBB\xBF"), "<EOH>\xEF\xBB\xBF");
}

struct QuoteCase {
  std::string text;
  MessageQuote quote;
  std::string shown;
};

class QuotedForMessageTest : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedForMessageTest, ShowsNoControlByte) {
  EXPECT_EQ(QuotedForMessage(GetParam().text, GetParam().quote), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, QuotedForMessageTest,
                         testing::Values(QuoteCase{"", {}, "''"},
                                         QuoteCase{"DL1ABC", {}, "'DL1ABC'"},
                                         QuoteCase{"a\tb\x1B[2J\x7F\0z"s, {}, "'a?b?[2J??z'"},
                                         QuoteCase{"\xC3\xA9t\xE9", {}, "'\xC3\xA9t\xE9'"},
                                         QuoteCase{"\xC3\xA9t\xE9\n",
                                                   {.asciiOnly = true},
                                                   "'??t?"
                                                   "?'"},
                                         QuoteCase{"abcdef", {.mostShown = 6}, "'abcdef'"},
                                         QuoteCase{"abcdefg", {.mostShown = 6}, "'abcdef...'"}));

}  // namespace
}  // namespace orva
