// The summary gathered in one pass over the rows in time order, after the
// duplicates have been matched with the rows they repeat; the comparison of
// logs by the plug-in's own letter-case rule for multiplier keys.
#include "host/summary/summary.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "host/summary/summary_time.h"
#include "import/bands.h"
#include "platform/text_compare.h"

namespace orva::host {
namespace {

bool BandModeBefore(const BandModeLine& a, const BandModeLine& b) {
  if (a.band != b.band) {
    return import::BandBefore(a.band, b.band);
  }
  return a.mode < b.mode;
}

// A text that stands for one callsign, band and mode, equal exactly when the
// worked-station list finds them equal: byte for byte.
std::string QsoKey(const SummaryQso& row) {
  std::string key;
  for (const std::string* text : {&row.call, &row.band, &row.mode}) {
    key += std::to_string(text->size());
    key += ':';
    key += *text;
  }
  return key;
}

bool IsCounted(const SummaryQso& row) {
  return row.points != kDuplicate;
}

// The continents of the breakdown, in its order: those the plug-in scores,
// then Antarctica, which a log's continent field may name, then no
// continent at all.
constexpr std::string_view kNoContinent = "?";
constexpr std::array<std::string_view, kContinents.size() + 2> kSummaryContinents = [] {
  std::array<std::string_view, kContinents.size() + 2> all{};
  std::copy(kContinents.begin(), kContinents.end(), all.begin());
  all[kContinents.size()] = "AN";
  all[kContinents.size() + 1] = kNoContinent;
  return all;
}();

// The continent of the station worked: the one its reference starts with,
// when it starts with one; else the one the log's own field names (in any
// letter case, as loggers write it); else none.
std::size_t ContinentIndex(const SummaryQso& row) {
  const auto indexOf = [](std::string_view continent) {
    return static_cast<std::size_t>(
        std::find(kSummaryContinents.begin(), kSummaryContinents.end() - 1, continent) -
        kSummaryContinents.begin());
  };
  const std::size_t byReference = indexOf(std::string_view(row.reference).substr(0, 2));
  if (byReference < kContinents.size()) {
    return byReference;
  }
  return indexOf(UpperAscii(Trim(row.continent)));
}

// The record of the counted row that each duplicate's callsign, band and
// mode belong to.
std::unordered_map<std::string, std::size_t> RepeatedRecords(const SummaryRows& rows) {
  std::unordered_map<std::string, std::size_t> repeated;
  std::unordered_set<std::string_view> calls;  // a quick first test for the many other rows
  for (const SummaryQso& row : rows) {
    if (!IsCounted(row)) {
      repeated.emplace(QsoKey(row), 0);
      calls.insert(row.call);
    }
  }
  for (const SummaryQso& row : rows) {
    if (IsCounted(row) && calls.contains(row.call)) {
      const auto found = repeated.find(QsoKey(row));
      if (found != repeated.end()) {
        found->second = row.record;
      }
    }
  }
  return repeated;
}

// The callsigns in upper case, each once, sorted. The rows mostly come in
// callsign order already, so most are dropped as repeats at once.
std::vector<std::string> StationsOf(const SummaryRows& rows) {
  std::vector<std::string> stations;
  for (const SummaryQso& row : rows) {
    std::string call = UpperAscii(row.call);
    if (stations.empty() || stations.back() != call) {
      stations.push_back(std::move(call));
    }
  }
  if (!std::is_sorted(stations.begin(), stations.end())) {
    std::sort(stations.begin(), stations.end());
  }
  stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
  return stations;
}

// Timed rows first, by time; then those without a time; each in record
// order. The keys are sorted as values, which is several times quicker on a
// large log than comparing through pointers to the rows.
std::vector<const SummaryQso*> InTimeOrder(const SummaryRows& rows) {
  using Key = std::tuple<bool, Moment, std::size_t, std::size_t>;  // the last: the row's index
  std::vector<Key> keys;
  keys.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    keys.emplace_back(!rows[i].time, rows[i].time.value_or(0), rows[i].record, i);
  }
  std::sort(keys.begin(), keys.end());
  std::vector<const SummaryQso*> ordered;
  ordered.reserve(rows.size());
  for (const Key& key : keys) {
    ordered.push_back(&rows[std::get<3>(key)]);
  }
  return ordered;
}

// Shows `add` each hour after `last` and before `next` that the summary
// lists although nothing was worked in it: none when either has no time or
// the pause is longer than kLongestFilledGapHours.
template <class Add>
void ForEachHourBetween(std::optional<Moment> last, std::optional<Moment> next, Add add) {
  if (!last || !next || *next - *last > kLongestFilledGapHours * kSecondsPerHour) {
    return;
  }
  for (Moment hour = *last + kSecondsPerHour; hour < *next; hour += kSecondsPerHour) {
    add(hour);
  }
}

// The summary's running state while the rows pass in time order.
class Gatherer {
 public:
  explicit Gatherer(LogSummary& summary) : summary_(summary) {}

  void Add(const SummaryQso& row, std::size_t repeatsRecord) {
    if (!IsCounted(row)) {
      summary_.duplicates.push_back(row);
      summary_.duplicates.back().repeatsRecord = repeatsRecord;
      return;
    }
    summary_.hasTimes = summary_.hasTimes || row.time.has_value();
    HourLine& hour = HourFor(row.time);
    if (row.time) {
      CountBandChange(row.band, hour);
      times_.push_back(*row.time);
    }
    ContinentLine& continent = continents_[ContinentIndex(row)];
    ++continent.qsos;
    continent.points += row.points;
    const std::size_t lineIndex = LineFor(row.band, row.mode);
    BandModeLine& line = summary_.bands[lineIndex];
    std::vector<std::int64_t>& hourLines = hourLineQsos_.back();
    hourLines.resize(std::max(hourLines.size(), lineIndex + 1));
    ++hourLines[lineIndex];
    ++hour.qsos;
    ++line.qsos;
    hour.points += row.points;
    line.points += row.points;
    points_ += row.points;
    if (IsFirstOf(row.multiplierIndex)) {
      ++hour.newMultipliers;
      ++line.multipliers;
      ++continent.multipliers;
      summary_.multipliers.push_back(row);
      firstWorked_[row.multiplierIndex] = summary_.multipliers.size() - 1;
    }
    if (row.points == 0) {
      summary_.zeroPoints.push_back(row);
    }
    hour.score = points_ * static_cast<std::int64_t>(summary_.multipliers.size());
  }

  // The key on the row that added it, whichever row first worked it.
  void NameKey(const SummaryQso& row) {
    if (!row.multiplierKey.empty() && row.multiplierIndex < firstWorked_.size()) {
      summary_.multipliers[firstWorked_[row.multiplierIndex]].multiplierKey = row.multiplierKey;
    }
  }

  void Finish(std::int64_t minOffMinutes) {
    summary_.operating = OperatingTimeOf(times_, minOffMinutes);
    for (const std::int64_t minutes : kBestRateMinutes) {
      summary_.bestRates.push_back(BestRateOf(times_, minutes));
    }
    for (std::size_t i = 0; i < continents_.size(); ++i) {
      if (continents_[i].qsos > 0) {
        summary_.continents.push_back(continents_[i]);
        summary_.continents.back().continent = kSummaryContinents[i];
      }
    }
    std::vector<BandModeLine>& bands = summary_.bands;
    for (std::size_t hour = 0; hour < hourLineQsos_.size(); ++hour) {
      const std::vector<std::int64_t>& counts = hourLineQsos_[hour];
      for (std::size_t line = 0; line < counts.size(); ++line) {
        summary_.hours[hour].qsosPerBand[bands[line].band] += counts[line];
      }
    }
    std::sort(bands.begin(), bands.end(), BandModeBefore);
  }

 private:
  // The hour's line, after the empty lines of the hours between the last
  // one and it.
  HourLine& HourFor(std::optional<Moment> time) {
    const std::optional<Moment> hour = time ? std::optional(HourOf(*time)) : std::nullopt;
    std::vector<HourLine>& hours = summary_.hours;
    if (!hours.empty() && hours.back().hour == hour) {
      return hours.back();
    }
    ForEachHourBetween(hours.empty() ? std::nullopt : hours.back().hour, hour,
                       [this](Moment between) { AddHour(between); });
    AddHour(hour);
    return hours.back();
  }

  void AddHour(std::optional<Moment> hour) {
    std::vector<HourLine>& hours = summary_.hours;
    const std::int64_t score = hours.empty() ? 0 : hours.back().score;
    HourLine& line = hours.emplace_back();
    line.hour = hour;
    line.score = score;
    hourLineQsos_.emplace_back();
  }

  void CountBandChange(const std::string& band, HourLine& hour) {
    if (lastBand_ && *lastBand_ != band) {
      ++hour.bandChanges;
      ++summary_.bandChanges;
    }
    lastBand_ = &band;
  }

  // The index of the band's and mode's line in the order first met.
  std::size_t LineFor(const std::string& band, const std::string& mode) {
    std::string key = band;
    key += '\0';
    key += mode;
    const auto [at, added] = lines_.try_emplace(std::move(key), summary_.bands.size());
    if (added) {
      summary_.bands.push_back({band, mode});
    }
    return at->second;
  }

  bool IsFirstOf(std::size_t multiplierIndex) {
    if (multiplierIndex == TScoreDetail::kNoMultiplier) {
      return false;
    }
    if (multiplierIndex >= firstWorked_.size()) {
      firstWorked_.resize(multiplierIndex + 1, kNotYet);
    }
    return firstWorked_[multiplierIndex] == kNotYet;
  }

  static constexpr std::size_t kNotYet = static_cast<std::size_t>(-1);

  LogSummary& summary_;
  std::int64_t points_ = 0;
  std::unordered_map<std::string, std::size_t> lines_;  // band '\0' mode: index in bands
  std::vector<std::size_t> firstWorked_;  // per multiplier index: index in multipliers
  // Per hour, the QSOs of each line in the order first met, counted so
  // rather than by band name for speed, and added up by band at the end.
  std::vector<std::vector<std::int64_t>> hourLineQsos_;
  const std::string* lastBand_ = nullptr;  // of the timed QSO before, in the rows
  std::vector<Moment> times_;              // of the timed QSOs so far, in order
  std::array<ContinentLine, kSummaryContinents.size()> continents_{};
};

// The plug-in's rule for multiplier keys: equal when equal ignoring letter
// case by the user's locale.
struct CaselessHash {
  std::size_t operator()(std::string_view key) const { return platform::CaselessHash(key); }
};
struct CaselessEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return platform::EqualIgnoringCase(a, b);
  }
};
using KeySet = std::unordered_set<std::string_view, CaselessHash, CaselessEqual>;

std::vector<ComparedBandMode> CompareBands(const std::vector<LogSummary>& logs) {
  std::vector<BandModeLine> all;
  for (const LogSummary& log : logs) {
    all.insert(all.end(), log.bands.begin(), log.bands.end());
  }
  std::sort(all.begin(), all.end(), BandModeBefore);
  std::vector<ComparedBandMode> compared;
  for (const BandModeLine& line : all) {
    if (compared.empty() || compared.back().band != line.band ||
        compared.back().mode != line.mode) {
      const std::vector<std::int64_t> zeros(logs.size(), 0);
      compared.push_back({line.band, line.mode, zeros, zeros, zeros});
    }
  }
  for (std::size_t i = 0; i < logs.size(); ++i) {
    for (const BandModeLine& line : logs[i].bands) {
      const auto at = std::lower_bound(compared.begin(), compared.end(), line,
                                       [](const ComparedBandMode& c, const auto& l) {
                                         return BandModeBefore({c.band, c.mode}, l);
                                       });
      at->qsos[i] = line.qsos;
      at->points[i] = line.points;
      at->multipliers[i] = line.multipliers;
    }
  }
  return compared;
}

std::vector<SummaryQso> MultipliersOnlyIn(const std::vector<LogSummary>& logs, std::size_t only) {
  KeySet others;
  for (std::size_t i = 0; i < logs.size(); ++i) {
    for (const SummaryQso& multiplier : logs[i].multipliers) {
      if (i != only) {
        others.insert(multiplier.multiplierKey);
      }
    }
  }
  std::vector<SummaryQso> found;
  for (const SummaryQso& multiplier : logs[only].multipliers) {
    if (!others.contains(multiplier.multiplierKey)) {
      found.push_back(multiplier);
    }
  }
  return found;
}

std::vector<std::string> StationsOnlyIn(const std::vector<LogSummary>& logs, std::size_t only) {
  std::vector<std::string> found;
  for (const std::string& call : logs[only].stations) {
    const bool elsewhere = std::any_of(logs.begin(), logs.end(), [&](const LogSummary& log) {
      return &log != &logs[only] &&
             std::binary_search(log.stations.begin(), log.stations.end(), call);
    });
    if (!elsewhere) {
      found.push_back(call);
    }
  }
  return found;
}

// Every hour of any log, and the hours between them as each log fills its
// own; the QSOs without a time last.
std::vector<std::optional<Moment>> HoursOfAll(const std::vector<LogSummary>& logs) {
  std::vector<std::optional<Moment>> hours;
  for (const LogSummary& log : logs) {
    for (const HourLine& line : log.hours) {
      hours.push_back(line.hour);
    }
  }
  // Timed hours in order, then the one without a time.
  std::sort(hours.begin(), hours.end(), [](std::optional<Moment> a, std::optional<Moment> b) {
    return std::make_tuple(!a, a.value_or(0)) < std::make_tuple(!b, b.value_or(0));
  });
  hours.erase(std::unique(hours.begin(), hours.end()), hours.end());
  std::vector<std::optional<Moment>> filled;
  for (const std::optional<Moment> hour : hours) {
    ForEachHourBetween(filled.empty() ? std::nullopt : filled.back(), hour,
                       [&filled](Moment between) { filled.push_back(between); });
    filled.push_back(hour);
  }
  return filled;
}

// Each log's QSOs and score through every hour of any log, carried on
// through the hours in which it worked nothing.
std::vector<ComparedHour> CompareHours(const std::vector<LogSummary>& logs) {
  std::vector<ComparedHour> compared;
  std::vector<std::size_t> next(logs.size(), 0);
  std::vector<std::int64_t> score(logs.size(), 0), totalQsos(logs.size(), 0);
  for (const std::optional<Moment> hour : HoursOfAll(logs)) {
    std::vector<std::int64_t> qsos(logs.size(), 0);
    for (std::size_t i = 0; i < logs.size(); ++i) {
      const std::vector<HourLine>& own = logs[i].hours;
      if (next[i] < own.size() && own[next[i]].hour == hour) {
        qsos[i] = own[next[i]].qsos;
        totalQsos[i] += qsos[i];
        score[i] = own[next[i]++].score;
      }
    }
    compared.push_back({hour, score, std::move(qsos), totalQsos});
  }
  return compared;
}

}  // namespace

std::vector<std::string> LeftOutNotes(const LeftOut& leftOut) {
  std::vector<std::string> notes;
  for (const auto& [count, text] :
       {std::pair{leftOut.outsidePeriod, "QSOs outside the contest period, left out: "},
        std::pair{leftOut.keptWithoutTime, "QSOs without a time, kept by the contest period: "},
        std::pair{leftOut.skippedRecords, "Records the reader could not read, left out: "}}) {
    if (count > 0) {
      notes.push_back(text + std::to_string(count));
    }
  }
  return notes;
}

LogSummary Summarize(std::string name, const SummaryRows& rows, const TReportTotals& claimed,
                     const LeftOut& leftOut, std::int64_t minOffMinutes) {
  LogSummary summary;
  summary.name = std::move(name);
  summary.claimed = claimed;
  summary.leftOut = leftOut;
  const std::unordered_map<std::string, std::size_t> repeated = RepeatedRecords(rows);
  Gatherer gatherer(summary);
  for (const SummaryQso* row : InTimeOrder(rows)) {
    gatherer.Add(*row, IsCounted(*row) ? 0 : repeated.at(QsoKey(*row)));
  }
  for (const SummaryQso& row : rows) {
    gatherer.NameKey(row);
  }
  gatherer.Finish(minOffMinutes);
  summary.stations = StationsOf(rows);
  return summary;
}

Comparison Compare(const std::vector<LogSummary>& logs) {
  Comparison comparison;
  comparison.bands = CompareBands(logs);
  for (std::size_t i = 0; i < logs.size(); ++i) {
    comparison.multipliersOnly.push_back(MultipliersOnlyIn(logs, i));
    comparison.stationsOnly.push_back(StationsOnlyIn(logs, i));
  }
  comparison.hours = CompareHours(logs);
  return comparison;
}

}  // namespace orva::host
