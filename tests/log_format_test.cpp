// Telling a log's kind from its first bytes.
#include "import/log_format.h"

#include <gtest/gtest.h>

#include <string>

namespace orva::import {
namespace {

using namespace std::string_literals;

struct Content {
  std::string head;
  LogFormat format;
};

class FormatOfContentTest : public testing::TestWithParam<Content> {};

TEST_P(FormatOfContentTest, FollowsTheMarksOfEachKind) {
  EXPECT_EQ(FormatOfContent(GetParam().head), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(Marks, FormatOfContentTest,
                         testing::Values(Content{"SQLite format 3\0\x10\0"s, LogFormat::kSqlite},
                                         Content{"SQLite format 3 but text", LogFormat::kUnknown},
                                         Content{"\xEF\xBB\xBF\r\n  start-of-log: 3.0\nQSO: <EOR>",
                                                 LogFormat::kCabrillo},
                                         Content{"CALLSIGN: OR1VA\nSTART-OF-LOG: 3.0\n",
                                                 LogFormat::kUnknown},
                                         Content{"Exported <by me>\n<eoh>", LogFormat::kAdif},
                                         Content{"<CALL:4>W1AW <eOr>", LogFormat::kAdif},
                                         Content{"<CALL:4>W1AW <EO", LogFormat::kUnknown},
                                         Content{"", LogFormat::kUnknown}));

}  // namespace
}  // namespace orva::import
