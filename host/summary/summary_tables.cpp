// Each table of the summary: its heading, its columns and its rows, in the
// order the summary shows them, the short ones whole and the long lists cut
// at the limit the caller gives.
#include "host/summary/summary_tables.h"

#include <algorithm>

#include "scoring/contest.h"

namespace orva::host {
namespace {

using Row = std::vector<std::string>;

std::string Number(std::int64_t value) {
  return std::to_string(value);
}

std::string Counted(const std::string& heading, std::size_t count) {
  return heading + ": " + std::to_string(count);
}

std::string HourText(std::optional<Moment> hour) {
  return hour ? FormatMoment(*hour) : "no time";
}

// The log's number in the head-to-head's column headings.
std::string Numbered(const char* text, std::size_t log) {
  return std::string(text) + ' ' + std::to_string(log + 1);
}

SummaryTable Titled(std::string heading, std::vector<TableColumn> columns = {}) {
  SummaryTable table;
  table.heading = std::move(heading);
  table.columns = std::move(columns);
  return table;
}

// A table of the items' rows, at most `limit` of them.
template <class Item, class MakeRow>
SummaryTable ListTable(std::string heading, std::vector<TableColumn> columns,
                       const std::vector<Item>& items, std::size_t limit, MakeRow makeRow) {
  SummaryTable table = Titled(Counted(heading, items.size()), std::move(columns));
  table.allRows = items.size();
  const std::size_t shown = std::min(items.size(), limit);
  for (std::size_t i = 0; i < shown; ++i) {
    table.rows.push_back(makeRow(items[i]));
  }
  return table;
}

SummaryTable BandTable(const LogSummary& log) {
  SummaryTable table =
      Titled("Per band and mode",
             {{"Band"}, {"Mode"}, {"QSOs", true}, {"Points", true}, {"Multipliers", true}});
  for (const BandModeLine& line : log.bands) {
    table.rows.push_back(
        {line.band, line.mode, Number(line.qsos), Number(line.points), Number(line.multipliers)});
  }
  const TReportTotals& c = log.claimed;
  table.rows.push_back({"Total", "", Number(c.QSOs), Number(c.Points), Number(c.Mults)});
  table.allRows = table.rows.size();
  table.lastRowIsTotal = true;
  return table;
}

SummaryTable HourTable(const LogSummary& log) {
  SummaryTable table = Titled("Hourly rate (UTC)");
  if (!log.hasTimes) {
    table.note =
        log.hours.empty() ? "The log holds no QSO." : "The log has no times: no hourly rate sheet.";
    return table;
  }
  table.note =
      "Band changes: " + Number(log.bandChanges) + " (a QSO on another band than the one before)";
  table.columns = {{"Hour"},
                   {"QSOs", true},
                   {"Points", true},
                   {"New multipliers", true},
                   {"Band changes", true},
                   {"Score at its end", true}};
  for (const HourLine& h : log.hours) {
    table.rows.push_back({HourText(h.hour), Number(h.qsos), Number(h.points),
                          Number(h.newMultipliers), Number(h.bandChanges), Number(h.score)});
  }
  table.allRows = table.rows.size();
  return table;
}

// "2 h 05 min", "45 min".
std::string DurationText(std::int64_t minutes) {
  if (minutes < 60) {
    return Number(minutes) + " min";
  }
  const std::int64_t rest = minutes % 60;
  return Number(minutes / 60) + " h " + (rest < 10 ? "0" : "") + Number(rest) + " min";
}

SummaryTable OperatingTable(const LogSummary& log) {
  const OperatingTime& operating = log.operating;
  SummaryTable table = Titled("Operating time");
  if (!log.hasTimes) {
    table.note = "The log has no times: no operating time.";
    return table;
  }
  table.note = DurationText(operating.minutes) + ": from the first QSO to the last, less " +
               Number(static_cast<std::int64_t>(operating.offTimes.size())) +
               " off-times (pauses of at least " + DurationText(operating.minOffMinutes) + ")";
  table.columns = {{"Off from"}, {"To"}, {"Off", true}};
  for (const OffTime& off : operating.offTimes) {
    table.rows.push_back({FormatMoment(off.from), FormatMoment(off.to), DurationText(off.minutes)});
  }
  table.allRows = table.rows.size();
  return table;
}

SummaryTable BestRateTable(const LogSummary& log) {
  SummaryTable table = Titled("Best rates");
  if (!log.hasTimes) {
    table.note = "The log has no times: no best rates.";
    return table;
  }
  table.note = "The most QSOs that count in any so many consecutive minutes.";
  table.columns = {{"Minutes", true}, {"QSOs", true}, {"From"}, {"QSOs an hour", true}};
  for (const BestRate& rate : log.bestRates) {
    table.rows.push_back({Number(rate.minutes), Number(rate.qsos), TimeText(rate.from),
                          Number(rate.qsos * 60 / rate.minutes)});
  }
  table.allRows = table.rows.size();
  return table;
}

SummaryTable ContinentTable(const LogSummary& log) {
  SummaryTable table =
      Titled("Per continent of the station worked",
             {{"Continent"}, {"QSOs", true}, {"Points", true}, {"Multipliers", true}});
  table.note =
      "The continent the reference starts with; else the log's own continent field; else ?.";
  ContinentLine total{"Total"};
  for (const ContinentLine& line : log.continents) {
    table.rows.push_back(
        {line.continent, Number(line.qsos), Number(line.points), Number(line.multipliers)});
    total.qsos += line.qsos;
    total.points += line.points;
    total.multipliers += line.multipliers;
  }
  table.rows.push_back(
      {total.continent, Number(total.qsos), Number(total.points), Number(total.multipliers)});
  table.allRows = table.rows.size();
  table.lastRowIsTotal = true;
  return table;
}

SummaryTable MultiplierTable(const std::string& heading, const std::vector<SummaryQso>& multipliers,
                             std::size_t limit) {
  return ListTable(heading, {{"Mode"}, {"Band"}, {"Reference"}, {"Call"}, {"First worked"}},
                   multipliers, limit, [](const SummaryQso& m) {
                     return Row{m.mode, m.band, m.reference, m.call, TimeText(m.time)};
                   });
}

SummaryTable DuplicateTable(const LogSummary& log, std::size_t limit) {
  return ListTable("Duplicates",
                   {{"Call"}, {"Band"}, {"Mode"}, {"Time"}, {"Record", true}, {"Repeats", true}},
                   log.duplicates, limit, [](const SummaryQso& d) {
                     return Row{d.call,
                                d.band,
                                d.mode,
                                TimeText(d.time),
                                std::to_string(d.record),
                                std::to_string(d.repeatsRecord)};
                   });
}

// The continents that score, as the plug-in's rule lists them: "EU, AS, ...".
std::string ContinentList() {
  std::string list;
  for (const std::string_view continent : kContinents) {
    list += (list.empty() ? "" : ", ") + std::string(continent);
  }
  return list;
}

SummaryTable ZeroPointTable(const LogSummary& log, std::size_t limit) {
  SummaryTable table = ListTable(
      "QSOs of 0 points", {{"Call"}, {"Band"}, {"Mode"}, {"Reference"}, {"Time"}, {"Record", true}},
      log.zeroPoints, limit, [](const SummaryQso& z) {
        return Row{z.call, z.band, z.mode, z.reference, TimeText(z.time), std::to_string(z.record)};
      });
  if (!log.zeroPoints.empty()) {
    table.note = "The reference does not start with a continent (" + ContinentList() + ").";
  }
  return table;
}

SummaryTable ComparedScoreTable(const std::vector<LogSummary>& logs) {
  SummaryTable table = Titled("Score of each log", {{"Log", true},
                                                    {"Name", false, true},
                                                    {"QSOs", true},
                                                    {"Points", true},
                                                    {"Multipliers", true},
                                                    {"Score", true}});
  for (std::size_t i = 0; i < logs.size(); ++i) {
    const TReportTotals& c = logs[i].claimed;
    table.rows.push_back({std::to_string(i + 1), logs[i].name, Number(c.QSOs), Number(c.Points),
                          Number(c.Mults), Number(c.Score)});
  }
  table.allRows = table.rows.size();
  return table;
}

SummaryTable ComparedBandTable(std::size_t logs, const Comparison& comparison) {
  SummaryTable table =
      Titled("Per band and mode: QSOs, points and multipliers of each log", {{"Band"}, {"Mode"}});
  for (std::size_t i = 0; i < logs; ++i) {
    for (const char* heading : {"QSOs", "Points", "Mults"}) {
      table.columns.push_back({Numbered(heading, i), true});
    }
  }
  for (const ComparedBandMode& line : comparison.bands) {
    Row row = {line.band, line.mode};
    for (std::size_t i = 0; i < logs; ++i) {
      row.insert(row.end(),
                 {Number(line.qsos[i]), Number(line.points[i]), Number(line.multipliers[i])});
    }
    table.rows.push_back(std::move(row));
  }
  table.allRows = table.rows.size();
  return table;
}

// A table of a figure of each log, hour by hour.
SummaryTable ComparedHourTable(std::string heading, const char* column, std::size_t logs,
                               const Comparison& comparison,
                               std::vector<std::int64_t> ComparedHour::*figure) {
  SummaryTable table = Titled(std::move(heading), {{"Hour"}});
  for (std::size_t i = 0; i < logs; ++i) {
    table.columns.push_back({Numbered(column, i), true});
  }
  for (const ComparedHour& hour : comparison.hours) {
    Row row = {HourText(hour.hour)};
    for (const std::int64_t value : hour.*figure) {
      row.push_back(Number(value));
    }
    table.rows.push_back(std::move(row));
  }
  table.allRows = table.rows.size();
  return table;
}

// How far log 1 is ahead of each other log, in QSOs and in score, as the
// contest goes on; below 0 where it is behind.
SummaryTable AheadTable(std::size_t logs, const Comparison& comparison) {
  SummaryTable table =
      Titled("Log 1 ahead of each other log at the end of each hour (UTC)", {{"Hour"}});
  for (std::size_t i = 1; i < logs; ++i) {
    table.columns.push_back({"QSOs 1-" + std::to_string(i + 1), true});
    table.columns.push_back({"Score 1-" + std::to_string(i + 1), true});
  }
  for (const ComparedHour& hour : comparison.hours) {
    Row row = {HourText(hour.hour)};
    for (std::size_t i = 1; i < logs; ++i) {
      row.push_back(Number(hour.totalQsos[0] - hour.totalQsos[i]));
      row.push_back(Number(hour.score[0] - hour.score[i]));
    }
    table.rows.push_back(std::move(row));
  }
  table.allRows = table.rows.size();
  return table;
}

}  // namespace

std::string TimeText(std::optional<Moment> time) {
  return time ? FormatMoment(*time) : "-";
}

std::string ScoreText(const TReportTotals& claimed) {
  return Number(claimed.Points) + '*' + Number(claimed.Mults) + '=' + Number(claimed.Score);
}

std::vector<SummaryTable> LogTables(const LogSummary& log, std::size_t limit) {
  std::vector<SummaryTable> tables;
  tables.push_back(BandTable(log));
  tables.push_back(HourTable(log));
  tables.push_back(OperatingTable(log));
  tables.push_back(BestRateTable(log));
  tables.push_back(ContinentTable(log));
  tables.push_back(MultiplierTable("Multipliers worked", log.multipliers, limit));
  tables.push_back(DuplicateTable(log, limit));
  tables.push_back(ZeroPointTable(log, limit));
  return tables;
}

std::vector<SummaryTable> ComparisonTables(const std::vector<LogSummary>& logs,
                                           const Comparison& comparison, std::size_t limit) {
  std::vector<SummaryTable> tables;
  tables.push_back(ComparedScoreTable(logs));
  tables.push_back(ComparedBandTable(logs.size(), comparison));
  for (std::size_t i = 0; i < logs.size(); ++i) {
    tables.push_back(MultiplierTable(Numbered("Multipliers only log", i) + " worked",
                                     comparison.multipliersOnly[i], limit));
  }
  for (std::size_t i = 0; i < logs.size(); ++i) {
    SummaryTable stations = ListTable(Numbered("Stations only log", i) + " worked", {{"Call"}},
                                      comparison.stationsOnly[i], limit,
                                      [](const std::string& call) { return Row{call}; });
    stations.flowing = true;
    stations.folded = true;
    tables.push_back(std::move(stations));
  }
  tables.push_back(ComparedHourTable("QSOs in each hour (UTC)", "QSOs", logs.size(), comparison,
                                     &ComparedHour::qsos));
  tables.push_back(ComparedHourTable("Score at the end of each hour (UTC)", "Score", logs.size(),
                                     comparison, &ComparedHour::score));
  tables.push_back(AheadTable(logs.size(), comparison));
  return tables;
}

}  // namespace orva::host
