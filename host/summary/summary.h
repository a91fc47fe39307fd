// The day-after summary of a contest log: what the plug-in's scoring made of
// every row, gathered into what an operator reads after the contest (the
// score per band and mode, the multipliers with the QSO that first made
// each, the duplicates, the QSOs of no points, the hourly rate) and, for two
// or three logs, the head-to-head of the logs side by side.
//
// The rows come from the plug-in's own recalculation and the totals from its
// report, so the summary cannot claim another score than the window. It
// adds only when and where: the rows are put in time order here, so that a
// multiplier is credited to the earliest QSO that worked it, whichever row
// the recalculation (which reads in callsign order) counted it for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/logs/contest_period.h"
#include "scoring/contest.h"
#include "scoring/report.h"

namespace orva::host {

// One QSO as the summary keeps it: a log row as the plug-in scored it, and
// an entry of the summary's lists (the multipliers, each with the QSO that
// first worked it; the duplicates; the QSOs of 0 points), which show what
// of it they need.
struct SummaryQso {
  std::string call;
  std::string band;
  std::string mode;
  std::string reference;    // empty when the exchange holds none
  std::string continent;    // the log's own continent field, as it holds it
  std::int32_t points = 0;  // kDuplicate for a duplicate
  // The position in the plug-in's multiplier list of the key the row counts
  // towards, and the key itself on the row that added it; in the list of
  // multipliers, the key of each, for comparing logs by the plug-in's rule.
  std::size_t multiplierIndex = TScoreDetail::kNoMultiplier;
  std::string multiplierKey;
  std::optional<Moment> time;
  std::size_t record = 0;         // the record's number in its file or table, from 1
  std::size_t repeatsRecord = 0;  // a duplicate's: the record of the QSO it repeats
};

// A log's rows: a deque, which grows by 100,000 rows without moving any.
using SummaryRows = std::deque<SummaryQso>;

struct BandModeLine {
  std::string band;
  std::string mode;
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t multipliers = 0;
};

// A clock hour (UTC), or the QSOs without a time (no hour, last), and the
// score when it ended. An hour without QSOs between two with them has its
// line too, the score carried on, so that the sheet and the charts show
// time as it passed.
struct HourLine {
  std::optional<Moment> hour;
  std::int64_t qsos = 0;
  std::map<std::string, std::int64_t> qsosPerBand;  // for the page's rate chart
  std::int64_t points = 0;
  std::int64_t newMultipliers = 0;
  std::int64_t score = 0;
  std::int64_t bandChanges = 0;  // QSOs on another band than the one before
};

// The hours of a pause longer than this are not filled in: a logbook of
// years would otherwise list tens of thousands of empty hours, and no
// contest pauses for a week.
inline constexpr std::int64_t kLongestFilledGapHours = 7 * 24;

// A gap of at least the off-time's least length between two QSOs in time
// order, from the earlier QSO's minute to the later's.
struct OffTime {
  Moment from;
  Moment to;
  std::int64_t minutes;
};

inline constexpr std::int64_t kDefaultMinOffMinutes = 30;

// The time from the first QSO to the last, less the off-times.
struct OperatingTime {
  std::int64_t minutes = 0;
  std::int64_t minOffMinutes = kDefaultMinOffMinutes;
  std::vector<OffTime> offTimes;
};

// The most QSOs in any `minutes` consecutive minutes, and the minute that
// stretch starts; none without a timed QSO.
struct BestRate {
  std::int64_t minutes;
  std::int64_t qsos = 0;
  std::optional<Moment> from;
};

inline constexpr std::int64_t kBestRateMinutes[] = {10, 60};

// The QSOs, points and multipliers of the stations of one continent.
struct ContinentLine {
  std::string continent;  // "?" when neither the reference nor the log tells
  std::int64_t qsos = 0;
  std::int64_t points = 0;
  std::int64_t multipliers = 0;
};

struct LogSummary {
  std::string name;
  TReportTotals claimed;                // as the plug-in's report has them
  std::vector<BandModeLine> bands;      // by band (longest wave first), then mode
  std::vector<SummaryQso> multipliers;  // each by the QSO that first worked it, in that order
  std::vector<SummaryQso> duplicates;   // in time order
  std::vector<SummaryQso> zeroPoints;   // in time order
  std::vector<HourLine> hours;          // an empty list: the log has no QSO
  bool hasTimes = false;                // any QSO of the log has a time
  // Of the QSOs that count and have a time, as the rate sheet has them.
  OperatingTime operating;
  std::vector<BestRate> bestRates;  // one for each of kBestRateMinutes
  std::int64_t bandChanges = 0;
  std::vector<ContinentLine> continents;  // in the order of kSummaryContinents
  LeftOut leftOut;
  std::vector<std::string> stations;  // the callsigns worked, upper case, sorted
};

// What was left out of a log, or kept unjudged, one note each; none when
// nothing was.
std::vector<std::string> LeftOutNotes(const LeftOut& leftOut);

// Gathers the rows of one log, scored in any order; a gap between two QSOs
// of at least `minOffMinutes` is an off-time.
LogSummary Summarize(std::string name, const SummaryRows& rows, const TReportTotals& claimed,
                     const LeftOut& leftOut, std::int64_t minOffMinutes = kDefaultMinOffMinutes);

// The score per band and mode of each log, one value per log in the logs'
// order.
struct ComparedBandMode {
  std::string band;
  std::string mode;
  std::vector<std::int64_t> qsos, points, multipliers;
};

struct ComparedHour {
  std::optional<Moment> hour;           // none: after the QSOs without a time
  std::vector<std::int64_t> score;      // each log's score when the hour ended
  std::vector<std::int64_t> qsos;       // each log's QSOs in the hour
  std::vector<std::int64_t> totalQsos;  // each log's QSOs when the hour ended
};

struct Comparison {
  std::vector<ComparedBandMode> bands;
  // Per log: the multipliers, and the callsigns, that no other log worked.
  std::vector<std::vector<SummaryQso>> multipliersOnly;
  std::vector<std::vector<std::string>> stationsOnly;
  std::vector<ComparedHour> hours;
};

// The logs side by side.
Comparison Compare(const std::vector<LogSummary>& logs);

}  // namespace orva::host
