// The operating time, the best rates and the time-as-it-passed of the
// summary: what an operator reads off a log's times, checked on times whose
// answers can be counted by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/summary/summary.h"
#include "host/summary/summary_time.h"
#include "tests/qso_time_texts.h"

namespace orva::host {
namespace {

Moment At(const char* time) {
  return *test::When("2026-11-21", time).At();
}

std::vector<Moment> Times(std::initializer_list<const char*> times) {
  std::vector<Moment> moments;
  for (const char* time : times) {
    moments.push_back(At(time));
  }
  return moments;
}

struct OperatingCase {
  std::vector<Moment> times;
  std::int64_t minOff;
  std::int64_t minutes;
  std::vector<std::int64_t> offMinutes;
};

class Operating : public testing::TestWithParam<OperatingCase> {};

TEST_P(Operating, IsTheSpanLessTheGapsOfAtLeastTheLeastOffTime) {
  const OperatingTime operating = OperatingTimeOf(GetParam().times, GetParam().minOff);
  EXPECT_EQ(operating.minutes, GetParam().minutes);
  std::vector<std::int64_t> offMinutes;
  for (const OffTime& off : operating.offTimes) {
    offMinutes.push_back(off.minutes);
    EXPECT_EQ(off.to - off.from, off.minutes * 60);
  }
  EXPECT_EQ(offMinutes, GetParam().offMinutes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Operating,
    testing::Values(OperatingCase{{}, 30, 0, {}}, OperatingCase{Times({"12:00"}), 30, 0, {}},
                    // 29 minutes is no off-time; 30 is.
                    OperatingCase{Times({"12:00", "12:29", "12:59", "13:05"}), 30, 35, {30}},
                    // By the minute: 12:00:59 to 12:30:00 is a 30-minute gap.
                    OperatingCase{Times({"12:00:59", "12:30:00"}), 30, 0, {30}},
                    OperatingCase{Times({"12:00", "12:10", "23:00"}), 10, 0, {10, 650}},
                    OperatingCase{Times({"12:00", "12:10", "23:00"}), 60, 10, {650}}));

TEST(BestRate, FindsTheBestStretchAcrossAClockHour) {
  // Four QSOs late in one hour and three early in the next: the best clock
  // hour holds four, the best 60 minutes seven, the best 10 five.
  const std::vector<Moment> times =
      Times({"11:10", "12:50", "12:55", "12:58", "12:59:59", "13:00", "13:04", "13:09", "14:30"});
  const BestRate hour = BestRateOf(times, 60);
  EXPECT_EQ(hour.qsos, 7);
  EXPECT_EQ(hour.from, At("12:50"));
  const BestRate tenMinutes = BestRateOf(times, 10);
  EXPECT_EQ(tenMinutes.qsos, 5);
  EXPECT_EQ(tenMinutes.from, At("12:55"));
  EXPECT_EQ(BestRateOf({}, 10).qsos, 0);
  EXPECT_EQ(BestRateOf({}, 10).from, std::nullopt);
}

SummaryQso Counted(const char* time, const char* band, std::string reference = "",
                   std::string continent = "") {
  SummaryQso qso;
  qso.call = "G4ABC";
  qso.band = band;
  qso.mode = "CW";
  qso.reference = std::move(reference);
  qso.continent = std::move(continent);
  qso.points = qso.reference.empty() ? 2 : 15;
  qso.time = test::When(time[0] == '2' ? std::string_view(time).substr(0, 10) : "2026-11-21",
                        time[0] == '2' ? std::string_view(time).substr(11) : time)
                 .At();
  return qso;
}

TEST(Summary, ShowsEveryHourBetweenTheFirstAndTheLastTheScoreCarriedOn) {
  const SummaryRows rows = {Counted("12:05", "20M"), Counted("15:40", "40M"),
                            Counted("15:50", "40M"), Counted("16:00", "20M")};
  const LogSummary log = Summarize("log", rows, {}, {});
  std::vector<std::string> hours;
  for (const HourLine& hour : log.hours) {
    hours.push_back(FormatMoment(*hour.hour).substr(11) + " " + std::to_string(hour.qsos) + " " +
                    std::to_string(hour.score) + " " + std::to_string(hour.bandChanges));
  }
  // No multiplier: every score is 0.
  EXPECT_EQ(hours, (std::vector<std::string>{"12:00 1 0 0", "13:00 0 0 0", "14:00 0 0 0",
                                             "15:00 2 0 1", "16:00 1 0 1"}));
  EXPECT_EQ(log.bandChanges, 2);
  EXPECT_EQ(log.operating.minutes, 235 - 215);
}

TEST(Summary, LeavesAPauseOfMoreThanAWeekUnfilled) {
  const SummaryRows rows = {Counted("2026-11-01 12:00", "20M"), Counted("2026-11-21 12:00", "20M")};
  EXPECT_EQ(Summarize("log", rows, {}, {}).hours.size(), 2u);
}

TEST(Summary, CountsEachContinentByReferenceThenByTheLogsField) {
  const SummaryRows rows = {Counted("12:00", "20M", "EU-005", "AS"),
                            Counted("12:01", "20M", "", " as "),
                            Counted("12:02", "20M", "XX-1", "an"),
                            Counted("12:03", "20M", "", "Mars"), Counted("12:04", "20M")};
  std::vector<std::string> continents;
  for (const ContinentLine& line : Summarize("log", rows, {}, {}).continents) {
    continents.push_back(line.continent + " " + std::to_string(line.qsos) + " " +
                         std::to_string(line.points));
  }
  EXPECT_EQ(continents, (std::vector<std::string>{"EU 1 15", "AS 1 2", "AN 1 15", "? 2 4"}));
}

}  // namespace
}  // namespace orva::host
