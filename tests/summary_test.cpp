// The day-after summary from rows scored by the contest's own code: the sums
// the summary promises, when each multiplier was first worked, what each
// duplicate repeats, the head-to-head of two logs, the contest period's
// times, the escaping of the JSON document, and the names of the logs'
// files as the system spells them.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string_view>

#include "host/logs/contest_period.h"
#include "host/summary/summary.h"
#include "host/summary/summary_json.h"
#include "host/summary/summary_mode.h"
#include "host/summary/summary_page.h"
#include "host/summary/summary_text.h"
#include "host/system/file_names.h"
#include "import/bands.h"
#include "import/imported_log.h"
#include "tests/qso_time_texts.h"

namespace orva::host {
namespace {

struct Qso {
  const char* call;
  const char* band;
  const char* mode;
  const char* exchange;
  const char* time;  // "YYYY-MM-DD HH:MM", or "" for none
};

// Summarizes the QSOs as orva-host summarizes another program's file once
// read: put in time order, scored by the plug-in's recalculation over the
// log they make, and traced back to their records, which count from 1 in
// the order given.
LogSummary Summarized(const std::vector<Qso>& qsos, std::string name = "log") {
  std::vector<import::ImportedQso> imported;
  for (const Qso& q : qsos) {
    const std::string_view at = q.time;
    import::ImportedQso qso;
    qso.CallSign = q.call;
    qso.DigiBand = q.band;
    qso.QSOMode = q.mode;
    qso.QSOReportRecived = q.exchange;
    qso.when = at.empty() ? import::QsoTime() : test::When(at.substr(0, 10), at.substr(11));
    qso.record = imported.size() + 1;
    imported.push_back(std::move(qso));
  }
  const ImportSettings settings;
  return SummarizeLog(*OpenLog::OfImported(std::move(name), std::move(imported), settings.table),
                      settings);
}

// The QSOs, points and multipliers of a table's lines added up.
template <class Line>
std::vector<std::int64_t> Sums(const std::vector<Line>& lines) {
  std::vector<std::int64_t> sums(3, 0);
  for (const Line& line : lines) {
    sums[0] += line.qsos;
    sums[1] += line.points;
    sums[2] += line.multipliers;
  }
  return sums;
}

// The sums the summary promises on every log.
void ExpectSumsHold(const LogSummary& log) {
  const std::vector<std::int64_t> claimed = {log.claimed.QSOs, log.claimed.Points,
                                             log.claimed.Mults};
  EXPECT_EQ(Sums(log.bands), claimed);
  EXPECT_EQ(Sums(log.continents), claimed);
  EXPECT_EQ(static_cast<std::int64_t>(log.multipliers.size()), log.claimed.Mults);
  std::int64_t hourQsos = 0;
  for (const HourLine& hour : log.hours) {
    hourQsos += hour.qsos;
  }
  EXPECT_EQ(hourQsos, log.claimed.QSOs);
  ASSERT_FALSE(log.hours.empty());
  EXPECT_EQ(log.hours.back().score, log.claimed.Score);
}

// Two hours of a contest: a repeat reference, a duplicate, a lower-case
// repeat of a call (a new station byte for byte), a 0-point reference and
// a serial, and a QSO without a time.
const std::vector<Qso> kContest = {
    {"ZS6XX", "20M", "CW", "599 EU-005", "2026-11-21 12:01"},
    {"DL1ABC", "20M", "CW", "599 EU-005", "2026-11-21 12:30"},
    {"DL1ABC", "20M", "CW", "599 EU-005", "2026-11-21 12:45"},
    {"dl1abc", "20M", "CW", "599 EU-005", "2026-11-21 12:50"},
    {"KC4AAA", "40M", "CW", "599 AN-016", "2026-11-21 13:10"},
    {"PY2ZZ", "160M", "SSB", "59 021", "2026-11-21 13:20"},
    {"JA1AAA", "20M", "SSB", "59 AS-007", ""},
};

TEST(Summary, AddsUpToTheReport) {
  const LogSummary log = Summarized(kContest);
  EXPECT_EQ(log.claimed.QSOs, 6);
  EXPECT_EQ(log.claimed.Score, (15 * 4 + 0 + 2) * 3);
  ExpectSumsHold(log);
  ASSERT_EQ(log.hours.size(), 3u);
  EXPECT_EQ(log.hours[0].hour, ParseMoment("2026-11-21 12:00"));
  EXPECT_EQ(log.hours[0].qsos, 3);
  EXPECT_EQ(log.hours[0].score, 45);
  EXPECT_EQ(log.hours[1].newMultipliers, 1);
  EXPECT_EQ(log.hours[1].score, 47 * 2);
  EXPECT_EQ(log.hours[2].hour, std::nullopt);
  EXPECT_TRUE(log.hasTimes);
}

TEST(Summary, CreditsEachMultiplierToTheEarliestQsoThatWorkedIt) {
  // DL1ABC's row comes first in callsign order and adds the key, but ZS6XX
  // worked the reference half an hour earlier.
  const LogSummary log = Summarized(kContest);
  ASSERT_EQ(log.multipliers.size(), 3u);
  EXPECT_EQ(log.multipliers[0].call, "ZS6XX");
  EXPECT_EQ(log.multipliers[0].time, ParseMoment("2026-11-21 12:01"));
  EXPECT_EQ(log.multipliers[0].multiplierKey, "CW:20M|EU-005|");
  EXPECT_EQ(log.multipliers[1].reference, "AN-016");
  EXPECT_EQ(log.multipliers[2].call, "JA1AAA");
  EXPECT_EQ(log.multipliers[2].time, std::nullopt);
}

TEST(Summary, NamesWhatEachDuplicateRepeatsAndWhyAQsoScoredNothing) {
  const LogSummary log = Summarized(kContest);
  ASSERT_EQ(log.duplicates.size(), 1u);
  EXPECT_EQ(log.duplicates[0].record, 3u);
  EXPECT_EQ(log.duplicates[0].repeatsRecord, 2u);
  ASSERT_EQ(log.zeroPoints.size(), 1u);
  EXPECT_EQ(log.zeroPoints[0].reference, "AN-016");
  EXPECT_EQ(log.zeroPoints[0].record, 5u);
  EXPECT_EQ(log.stations,
            (std::vector<std::string>{"DL1ABC", "JA1AAA", "KC4AAA", "PY2ZZ", "ZS6XX"}));
}

TEST(Summary, OrdersBandsByWavelengthThenModes) {
  const LogSummary log = Summarized(kContest);
  std::vector<std::string> order;
  for (const BandModeLine& line : log.bands) {
    order.push_back(line.band + " " + line.mode);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"160M SSB", "40M CW", "20M CW", "20M SSB"}));
  const std::vector<std::string> bands = {"2M", "1.25M", "70CM", "6MM", "SAT", "10M", "160m"};
  std::vector<std::string> sorted = bands;
  std::sort(sorted.begin(), sorted.end(), import::BandBefore);
  EXPECT_EQ(sorted, (std::vector<std::string>{"160m", "10M", "2M", "1.25M", "70CM", "6MM", "SAT"}));
}

TEST(Summary, SaysALogWithoutTimesHasNoRateSheet) {
  const LogSummary log = Summarized({{"DL1ABC", "20M", "CW", "EU-005", ""}});
  ExpectSumsHold(log);
  EXPECT_FALSE(log.hasTimes);
  EXPECT_NE(SummaryText({log}, {}).find("The log has no times: no hourly rate sheet."),
            std::string::npos);
}

TEST(Summary, ComparesLogsThatDifferByOneMultiplier) {
  std::vector<Qso> rival = kContest;
  rival.push_back({"VK2AB", "40M", "CW", "599 OC-001", "2026-11-21 14:05"});
  const std::vector<LogSummary> logs = {Summarized(kContest, "mine"), Summarized(rival, "rival")};
  const Comparison comparison = Compare(logs);
  EXPECT_TRUE(comparison.multipliersOnly[0].empty());
  ASSERT_EQ(comparison.multipliersOnly[1].size(), 1u);
  EXPECT_EQ(comparison.multipliersOnly[1][0].reference, "OC-001");
  EXPECT_EQ(comparison.stationsOnly[1], std::vector<std::string>{"VK2AB"});
  // Mine carries its score through the rival's extra hour.
  ASSERT_EQ(comparison.hours.size(), 4u);
  EXPECT_EQ(comparison.hours[2].hour, ParseMoment("2026-11-21 14:00"));
  EXPECT_EQ(comparison.hours[2].score, (std::vector<std::int64_t>{47 * 2, 62 * 3}));
  EXPECT_EQ(comparison.hours[3].score,
            (std::vector<std::int64_t>{logs[0].claimed.Score, logs[1].claimed.Score}));
  const auto line40 = std::find_if(comparison.bands.begin(), comparison.bands.end(),
                                   [](const ComparedBandMode& b) { return b.band == "40M"; });
  ASSERT_NE(line40, comparison.bands.end());
  EXPECT_EQ(line40->multipliers, (std::vector<std::int64_t>{1, 2}));
}

struct MomentCase {
  const char* text;
  bool readable;
};

class PeriodTimes : public testing::TestWithParam<MomentCase> {};

TEST_P(PeriodTimes, ReadOnlyTheOneForm) {
  const std::optional<Moment> moment = ParseMoment(GetParam().text);
  EXPECT_EQ(moment.has_value(), GetParam().readable);
  if (moment) {
    EXPECT_EQ(FormatMoment(*moment), GetParam().text);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PeriodTimes,
    testing::Values(MomentCase{"2026-11-21 12:00", true}, MomentCase{"2024-02-29 23:59", true},
                    MomentCase{"1969-12-31 23:00", true}, MomentCase{"2025-02-29 12:00", false},
                    MomentCase{"2026-11-21 24:00", false}, MomentCase{"2026-11-21 12:60", false},
                    MomentCase{"2026-11-21T12:00", false}, MomentCase{"2026-11-21 12:00:00", false},
                    MomentCase{"2026-1-21 12:00", false}, MomentCase{"2026-11-21 1200", false},
                    MomentCase{" 026-11-21 12:00", false}, MomentCase{"", false}));

TEST(ContestPeriod, HoldsItsStartNotItsEndAndEveryQsoWithoutATime) {
  const ContestPeriod period{ParseMoment("2026-11-21 12:00"), ParseMoment("2026-11-22 12:00")};
  const auto at = [](std::string_view date, std::string_view time) {
    return test::When(date, time).At();
  };
  EXPECT_TRUE(period.Holds(at("2026-11-21", "12:00")));
  EXPECT_TRUE(period.Holds(at("2026-11-22", "11:59:59")));
  EXPECT_FALSE(period.Holds(at("2026-11-22", "12:00")));
  EXPECT_FALSE(period.Holds(at("2026-11-21", "11:59:59")));
  EXPECT_TRUE(period.Holds(std::nullopt));
  EXPECT_TRUE(ContestPeriod{}.Holds(at("1999-01-01", "00:00")));
  EXPECT_EQ(HourOf(*at("1969-12-31", "23:30")), *at("1969-12-31", "23:00"));
}

TEST(SummaryJson, EscapesEveryByteThatJsonOrAPageWouldMisread) {
  std::string out;
  AppendJson(out, JsonLogText("a\"b\\c\n\t\b\f\r\x01\x1f\x7f\xe9\xff</script>&"),
             JsonSpacing::kCompact);
  EXPECT_EQ(out, R"("a\"b\\c\u000a\u0009\u0008\u000c\u000d\u0001\u001f\u007f\u00e9\u00ff)"
                 R"(\u003c/script\u003e\u0026")");
}

// Quotes, commas and colons inside a string are the text's, not the
// layout's; an escaped backslash does not escape the closing quote.
TEST(SummaryJson, SpacesOnlyThePunctuationBetweenValues) {
  Json value;
  value["a,b:"] = JsonLogText("x: \"y\", z\\");
  value["n"] = Json::array({1, nullptr, Json::object()});
  std::string spaced, compact;
  AppendJson(spaced, value, JsonSpacing::kSpaced);
  AppendJson(compact, value, JsonSpacing::kCompact);
  EXPECT_EQ(spaced, R"({"a,b:": "x: \"y\", z\\", "n": [1, null, {}]})");
  EXPECT_EQ(compact, R"({"a,b:":"x: \"y\", z\\","n":[1,null,{}]})");
}

TEST(SummaryJson, HasTheComparisonOnlyForSeveralLogs) {
  const LogSummary log = Summarized(kContest);
  EXPECT_EQ(SummaryJson({log}, {}).find("\"comparison\""), std::string::npos);
  const std::vector<LogSummary> two = {log, log};
  EXPECT_NE(SummaryJson(two, Compare(two)).find("\"comparison\": {"), std::string::npos);
}

// A file's name in the JSON: its characters when it is well-formed UTF-8,
// else each byte as a Latin-1 character, whole.
struct JsonName {
  const char* name;
  const char* json;
};

class JsonNames : public testing::TestWithParam<JsonName> {};

TEST_P(JsonNames, AreTheCharactersTheSystemShows) {
  std::string out;
  AppendJson(out, JsonFileName(GetParam().name), JsonSpacing::kCompact);
  EXPECT_EQ(out, GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Summary, JsonNames,
    testing::Values(JsonName{"\xC3\x9C"
                             "bung \xE2\x80\x93 M\xC3\xA4rz.adi",
                             R"("\u00dcbung \u2013 M\u00e4rz.adi")"},
                    JsonName{"\xC4\x8E\xC4\x8C \xE6\x97\xA5\xE6\x9C\xAC.log",
                             R"("\u010e\u010c \u65e5\u672c.log")"},
                    JsonName{"radio \xF0\x9F\x93\xBB.adi", R"("radio \ud83d\udcfb.adi")"},
                    JsonName{"C:\\Contest\\<a&b>.adi",
                             R"("C:\\Contest\\\u003ca\u0026b\u003e.adi")"},
                    // Latin-1 bytes, and names that are UTF-8 only in part:
                    // one byte too few, an overlong form, a surrogate.
                    JsonName{"\xDC"
                             "bung.adi",
                             R"("\u00dcbung.adi")"},
                    JsonName{"M\xC3\xA4rz \xE4.adi", R"("M\u00c3\u00a4rz \u00e4.adi")"},
                    JsonName{"\xE6\x97", R"("\u00e6\u0097")"},
                    JsonName{"\xC0\xAF", R"("\u00c0\u00af")"},
                    JsonName{"\xED\xA0\x80", R"("\u00ed\u00a0\u0080")"},
                    JsonName{"\xF4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"}));

// The text and the page show a name as written: a Windows path keeps its
// backslashes single, the head-to-head's columns stand by characters, and
// only a control character is escaped.
TEST(Summary, ShowsNamesAsWrittenInTheTextAndThePage) {
  const std::vector<LogSummary> logs = {Summarized(kContest, "C:\\Logs\\M\xC3\xA4rz.adi"),
                                        Summarized(kContest, "line\nend.adi")};
  const std::string text = SummaryText(logs, Compare(logs));
  EXPECT_NE(text.find("Summary of C:\\Logs\\M\xC3\xA4rz.adi\n"), std::string::npos);
  EXPECT_NE(text.find("Summary of line\\x0Aend.adi\n"), std::string::npos);
  const std::size_t first = text.find("\n  1  C:");
  const std::size_t second = text.find("\n  2  line");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  const auto line = [&](std::size_t at) {
    return NameCharacters(text.substr(at + 1, text.find('\n', at + 1) - at - 1));
  };
  EXPECT_EQ(line(first).size(), line(second).size());

  const std::string page = SummaryPage(logs, Compare(logs));
  EXPECT_NE(page.find("<h2>C:\\Logs\\M&#xE4;rz.adi</h2>"), std::string::npos);
  EXPECT_NE(page.find("<td>C:\\Logs\\M&#xE4;rz.adi</td>"), std::string::npos);
  EXPECT_NE(page.find("<title>Head to head: C:\\Logs\\M&#xE4;rz.adi, line\\x0Aend.adi</title>"),
            std::string::npos);
}

}  // namespace
}  // namespace orva::host
