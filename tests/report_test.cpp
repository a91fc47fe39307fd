// The report text: its layout, long texts, and totals and a claimed score
// that stay right past 32 bits.
#include "scoring/report.h"

#include <gtest/gtest.h>

#include <climits>

namespace orva {
namespace {

TEST(Report, EmptyStatisticsGiveHeaderTotalAndZeroScore) {
  EXPECT_EQ(BuildReportText({}),
            "Band\t  QSOs\tPoints\t  ORVA\t\r\n"
            "Total\t     0\t     0\t     0\r\n"
            " Score: 0*0=0");
}

TEST(Report, OneLinePerBandInListOrder) {
  EXPECT_EQ(BuildReportText({{"20M", 12, 150, 9}, {"160M", 1, 2, 0}}),
            "Band\t  QSOs\tPoints\t  ORVA\t\r\n"
            " 20M\t    12\t   150\t     9\t\r\n"
            "160M\t     1\t     2\t     0\t\r\n"
            "Total\t    13\t   152\t     9\r\n"
            " Score: 152*9=1368");
}

TEST(Report, LongTextsAreWrittenWholeUnpadded) {
  const std::string text = BuildReportText({{"2190M", 1234567, 0, 0}});
  EXPECT_NE(text.find("\r\n2190M\t1234567\t     0\t     0\t\r\n"), std::string::npos) << text;
}

TEST(Report, ClaimedScoreDoesNotOverflowThirtyTwoBits) {
  const std::string text = BuildReportText({{"20M", 150000, 2250000, 150000}});
  EXPECT_NE(text.find(" Score: 2250000*150000=337500000000"), std::string::npos) << text;
}

TEST(Report, SumsWrapAsThirtyTwoBitCounters) {
  const std::string text = BuildReportText({{"20M", 1, INT_MAX, 0}, {"40M", 1, 1, 0}});
  EXPECT_NE(text.find("Total\t     2\t-2147483648\t     0"), std::string::npos) << text;
}

TEST(PadLeft, PadsButNeverTruncates) {
  EXPECT_EQ(PadLeft("20M", 4), " 20M");
  EXPECT_EQ(PadLeft("", 3), "   ");
  EXPECT_EQ(PadLeft("12345", 4), "12345");
}

}  // namespace
}  // namespace orva
