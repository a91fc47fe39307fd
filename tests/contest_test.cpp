// Scoring a QSO: points from the exchange, duplicates, multipliers per band
// and mode, and the reference pattern checked against a regular expression.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "base/text.h"
#include "scoring/contest.h"
#include "tests/test_support.h"

namespace orva {
namespace {

class ContestFixture : public testing::Test {
 protected:
  std::int32_t Score(const char* call, const char* band, const char* mode, std::string exchange,
                     bool record = true) {
    current = test::QsoRecord(call, band, mode, exchange);
    return contest.ScoreQso(record);
  }
  const TStatistic& Band(std::size_t i) const { return contest.myStatList.at(i); }

  TExchangeRecord current = test::BlankRecord();
  TContest contest{current};
};

struct ExchangeCase {
  std::string exchange;
  std::int32_t points;
  std::string multiplier;  // the key recorded, empty for none
};

class ExchangePoints : public ContestFixture, public testing::WithParamInterface<ExchangeCase> {};

TEST_P(ExchangePoints, DecideThePointsAndTheMultiplier) {
  EXPECT_EQ(Score("DL1ABC", "20M", "CW", GetParam().exchange), GetParam().points);
  const TMultList& keys = contest.myMultList;
  if (GetParam().multiplier.empty()) {
    EXPECT_EQ(keys.size(), 0u);
  } else {
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], "CW:20M|" + GetParam().multiplier + "|");
  }
  EXPECT_EQ(Band(0).QSOs, 1);
  EXPECT_EQ(Band(0).Points, GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExchangePoints,
    testing::Values(ExchangeCase{"EU-005", 15, "EU-005"}, ExchangeCase{"eu-005", 15, "EU-005"},
                    ExchangeCase{"59 EU-005", 15, "EU-005"}, ExchangeCase{"EU005", 15, "EU005"},
                    ExchangeCase{"  599 oc-123 \t\r\n", 15, "OC-123"},
                    ExchangeCase{"\x01\x1f"
                                 "AS+12",
                                 15, "AS+12"},
                    ExchangeCase{"001", 2, ""}, ExchangeCase{"", 2, ""}, ExchangeCase{"   ", 2, ""},
                    ExchangeCase{"59001", 0, "59001"}, ExchangeCase{"59EU005", 0, "9EU005"},
                    ExchangeCase{"599 AN-016", 0, "AN-016"}, ExchangeCase{"EU-005/P", 2, ""},
                    ExchangeCase{"EU-0050", 0, "U-0050"}, ExchangeCase{"599 NA-1", 2, ""},
                    ExchangeCase{"sa-01", 15, "SA-01"},
                    ExchangeCase{std::string(248, 'x') + " AF-001", 15, "AF-001"},
                    ExchangeCase{std::string(249, 'x') + " AF-001", 15, "AF-00"},
                    ExchangeCase{"EU\xC4"
                                 "005",
                                 2, ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ContestFixture, DuplicateScoresMinusOneAndIsCountedNowhere) {
  EXPECT_EQ(Score("DL1ABC", "20M", "CW", "EU-005"), 15);
  EXPECT_EQ(Score("DL1ABC", "20M", "CW", "EU-005"), -1);
  EXPECT_EQ(Score("DL1ABC", "20M", "CW", "EU-005", false), -1);
  EXPECT_EQ(contest.myQsoList.size(), 1u);
  EXPECT_EQ(Band(0).QSOs, 1);
  EXPECT_EQ(Band(0).Points, 15);
  EXPECT_EQ(Band(0).Mults, 1);
}

TEST_F(ContestFixture, ScoringWithoutRecordingChangesNothing) {
  Score("AA1A", "20M", "CW", "EU-001");
  EXPECT_EQ(Score("BB2B", "40M", "SSB", "NA-002", false), 15);
  EXPECT_EQ(Score("CC3C", "40M", "SSB", "", false), 2);
  EXPECT_EQ(contest.myQsoList.size(), 1u);
  EXPECT_EQ(contest.myStatList.size(), 1u);
  EXPECT_EQ(contest.myMultList.size(), 1u);
}

TEST_F(ContestFixture, OneMultiplierPerReferenceBandAndMode) {
  Score("A1", "20M", "CW", "EU-005");
  Score("A2", "20M", "SSB", "EU-005");
  Score("A3", "40M", "CW", "EU-005");
  Score("A4", "20M", "CW", "EU-005");
  Score("A5", "20M", "CW", "EU005");
  EXPECT_EQ(Band(0).Mults, 3);  // EU-005 CW, EU-005 SSB, EU005 CW
  EXPECT_EQ(Band(1).Mults, 1);
  EXPECT_EQ(Band(0).QSOs, 4);
}

TEST_F(ContestFixture, BandsAreExactButMultiplierKeysIgnoreCase) {
  Score("A1", "20M", "CW", "EU-005");
  Score("A2", "20m", "CW", "EU-005");
  Score("A3", "20M", "ssb", "EU-006");
  Score("A4", "20M", "SSB", "EU-006");
  ASSERT_EQ(contest.myStatList.size(), 2u);
  EXPECT_EQ(Band(1).Band, "20m");
  EXPECT_EQ(Band(1).QSOs, 1);
  EXPECT_EQ(Band(1).Points, 15);
  EXPECT_EQ(Band(1).Mults, 0);
  EXPECT_EQ(Band(0).Mults, 2);
  EXPECT_EQ(contest.myMultList.size(), 2u);
}

// A tool tells when each multiplier was first worked from the key every
// QSO counts towards, not only the one that added it.
TEST_F(ContestFixture, EveryQsoNamesTheMultiplierItCountsTowards) {
  const auto index = [&](const char* call, const char* band, const char* exchange) {
    current = test::QsoRecord(call, band, "CW", exchange);
    TScoreDetail detail;
    contest.ScoreQso(true, &detail);
    return detail.multiplierIndex;
  };
  EXPECT_EQ(index("A1", "20M", "EU-005"), 0u);
  EXPECT_EQ(index("A2", "40M", "EU-005"), 1u);
  EXPECT_EQ(index("A3", "20m", "eu-005"), 0u);
  EXPECT_EQ(index("A4", "20M", "599 001"), TScoreDetail::kNoMultiplier);
  EXPECT_EQ(contest.myMultList.size(), 2u);
}

TEST_F(ContestFixture, BandsAppearInOrderOfFirstQso) {
  Score("A1", "40M", "CW", "");
  Score("A2", "20M", "CW", "");
  Score("A3", "40M", "CW", "59001");
  ASSERT_EQ(contest.myStatList.size(), 2u);
  EXPECT_EQ(Band(0).Band, "40M");
  EXPECT_EQ(Band(0).QSOs, 2);
  EXPECT_EQ(Band(0).Points, 2);
  EXPECT_EQ(Band(1).Band, "20M");
}

TEST_F(ContestFixture, ClearingEmptiesListsButKeepsReferences) {
  contest.myRefList.Assign("DL1ABC=EU-005\n");
  Score("A1", "20M", "CW", "EU-005");
  contest.ClearQsoList();
  contest.ClearStatistics();
  EXPECT_EQ(contest.myQsoList.size(), 0u);
  EXPECT_TRUE(contest.myStatList.empty());
  EXPECT_EQ(contest.myMultList.size(), 0u);
  EXPECT_EQ(Score("A1", "20M", "CW", "EU-005"), 15);
  EXPECT_EQ(Band(0).Mults, 1);
  EXPECT_EQ(contest.myRefList.lines().size(), 1u);
}

TEST_F(ContestFixture, FullLengthFieldsWithGarbageBehindThem) {
  current = test::BlankRecord();
  std::memset(&current, 0xEE, sizeof current);
  for (ShortString* s :
       {&current.CallSign, &current.DigiBand, &current.QSOMode, &current.QSOReportRecived}) {
    s->length = 255;
  }
  EXPECT_EQ(contest.ScoreQso(true), 2);  // 0xEE bytes hold no reference
  EXPECT_EQ(contest.ScoreQso(true), -1);
  EXPECT_EQ(Band(0).Band.size(), 255u);
}

// The matcher must agree with the regular expression it replaces.
std::optional<std::string> RegexReference(const std::string& text) {
  static const std::regex pattern{std::string(TReferencePattern::kPattern)};
  std::smatch match;
  if (!std::regex_search(text, match, pattern)) {
    return std::nullopt;
  }
  return match.str();
}

TEST(MultList, KeepsFirstSpellingsInOrderThroughGrowthAndClearing) {
  TMultList list;
  const auto key = [](int i) { return "cw:20m|eu-" + std::to_string(i) + "|"; };
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5000; ++i) {
      ASSERT_TRUE(list.AddIfNew(key(i))) << i;
    }
    for (int i = 0; i < 5000; ++i) {
      ASSERT_FALSE(list.AddIfNew(UpperAscii(key(i)))) << i;
    }
    ASSERT_EQ(list.size(), 5000u);
    EXPECT_EQ(list[0], key(0));
    EXPECT_EQ(list[4999], key(4999));
    list.Clear();
    EXPECT_EQ(list.size(), 0u);
  }
}

TEST(ReferencePattern, AgreesWithTheRegularExpression) {
  const TReferencePattern matcher;
  std::mt19937 random(20261208);
  const std::string alphabet = "-+AZEUNS09a/ \x7f\x80\xff\n\r.";
  std::vector<std::string> texts = {"",
                                    "EU-00",
                                    "EU-005",
                                    "EU-0050",
                                    "-----",
                                    "+++++++",
                                    "AB\nCDEFG",
                                    "ABCDE\n",
                                    "1234",
                                    "EU-005\r",
                                    "x12345",
                                    std::string("AB\0CDEF", 7),
                                    std::string(300, 'A')};
  for (int i = 0; i < 20000; ++i) {
    std::string text(random() % 12, ' ');
    for (char& c : text) {
      c = alphabet[random() % alphabet.size()];
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const auto mine = matcher.Find(text);
    const auto expected = RegexReference(text);
    ASSERT_EQ(mine.has_value(), expected.has_value()) << '"' << text << '"';
    if (mine) {
      ASSERT_EQ(std::string(*mine), *expected) << '"' << text << '"';
    }
  }
}

}  // namespace
}  // namespace orva
