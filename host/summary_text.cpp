// The text summary's sections, each a heading and a table whose columns are
// as wide as their widest cell. Texts from the log keep their bytes, except
// control characters, which are escaped as in --explain so that a row stays
// one line.
#include "host/summary_text.h"

#include <algorithm>

#include "host/explain.h"

namespace orva::host {
namespace {

struct Column {
  std::string heading;
  bool rightAligned = false;
};

class TextTable {
 public:
  explicit TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {
    std::vector<std::string> headings;
    for (const Column& column : columns_) {
      headings.push_back(column.heading);
    }
    Add(std::move(headings));
  }

  void Add(std::vector<std::string> cells) {
    for (std::string& cell : cells) {
      std::string escaped;
      AppendEscaped(escaped, cell);
      cell = std::move(escaped);
    }
    rows_.push_back(std::move(cells));
  }

  void AppendTo(std::string& out) const {
    std::vector<std::size_t> widths(columns_.size(), 0);
    for (const std::vector<std::string>& row : rows_) {
      for (std::size_t i = 0; i < row.size(); ++i) {
        widths[i] = std::max(widths[i], row[i].size());
      }
    }
    for (const std::vector<std::string>& row : rows_) {
      std::string line;
      for (std::size_t i = 0; i < row.size(); ++i) {
        const std::size_t room = widths[i] - row[i].size();
        line += i == 0 ? "" : "  ";
        line.append(columns_[i].rightAligned ? room : 0, ' ');
        line += row[i];
        line.append(columns_[i].rightAligned ? 0 : room, ' ');
      }
      line.erase(line.find_last_not_of(' ') + 1);
      out += line;
      out += '\n';
    }
  }

 private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

std::string Number(std::int64_t value) {
  return std::to_string(value);
}

std::string TimeText(std::optional<Moment> time) {
  return time ? FormatMoment(*time) : "-";
}

void AppendHeading(std::string& out, const std::string& heading) {
  out += '\n';
  AppendEscaped(out, heading);
  out += '\n';
}

void AppendClaimedScore(std::string& out, const TReportTotals& claimed) {
  out += "Claimed score: " + Number(claimed.Points) + '*' + Number(claimed.Mults) + '=' +
         Number(claimed.Score) + " (" + Number(claimed.QSOs) + " QSOs, " + Number(claimed.Points) +
         " points, " + Number(claimed.Mults) + " multipliers)\n";
}

void AppendLeftOut(std::string& out, const LeftOut& leftOut) {
  for (const std::string& note : LeftOutNotes(leftOut)) {
    out += note + '\n';
  }
}

void AppendBands(std::string& out, const LogSummary& log) {
  AppendHeading(out, "Per band and mode");
  TextTable table({{"Band"}, {"Mode"}, {"QSOs", true}, {"Points", true}, {"Multipliers", true}});
  for (const BandModeLine& line : log.bands) {
    table.Add(
        {line.band, line.mode, Number(line.qsos), Number(line.points), Number(line.multipliers)});
  }
  table.Add({"Total", "", Number(log.claimed.QSOs), Number(log.claimed.Points),
             Number(log.claimed.Mults)});
  table.AppendTo(out);
}

void AppendMultipliers(std::string& out, const std::vector<WorkedMultiplier>& multipliers,
                       const std::string& heading) {
  AppendHeading(out, heading + ": " + std::to_string(multipliers.size()));
  if (multipliers.empty()) {
    return;
  }
  TextTable table({{"Mode"}, {"Band"}, {"Reference"}, {"Call"}, {"First worked"}});
  for (const WorkedMultiplier& m : multipliers) {
    table.Add({m.mode, m.band, m.reference, m.call, TimeText(m.time)});
  }
  table.AppendTo(out);
}

void AppendDuplicates(std::string& out, const LogSummary& log) {
  AppendHeading(out, "Duplicates: " + std::to_string(log.duplicates.size()));
  if (log.duplicates.empty()) {
    return;
  }
  TextTable table({{"Call"}, {"Band"}, {"Mode"}, {"Time"}, {"Record", true}, {"Repeats", true}});
  for (const DuplicateQso& d : log.duplicates) {
    table.Add({d.call, d.band, d.mode, TimeText(d.time), std::to_string(d.record),
               std::to_string(d.repeatsRecord)});
  }
  table.AppendTo(out);
}

void AppendZeroPoints(std::string& out, const LogSummary& log) {
  AppendHeading(out, "QSOs of 0 points: " + std::to_string(log.zeroPoints.size()));
  if (log.zeroPoints.empty()) {
    return;
  }
  out += "The reference does not start with a continent (EU, AS, SA, NA, AF, OC).\n";
  TextTable table({{"Call"}, {"Band"}, {"Mode"}, {"Reference"}, {"Time"}, {"Record", true}});
  for (const ZeroPointQso& z : log.zeroPoints) {
    table.Add({z.call, z.band, z.mode, z.reference, TimeText(z.time), std::to_string(z.record)});
  }
  table.AppendTo(out);
}

std::string HourText(std::optional<Moment> hour) {
  return hour ? FormatMoment(*hour) : "no time";
}

void AppendHours(std::string& out, const LogSummary& log) {
  AppendHeading(out, "Hourly rate (UTC)");
  if (!log.hasTimes) {
    out += log.hours.empty() ? "The log holds no QSO.\n"
                             : "The log has no times: no hourly rate sheet.\n";
    return;
  }
  TextTable table({{"Hour"},
                   {"QSOs", true},
                   {"Points", true},
                   {"New multipliers", true},
                   {"Score at its end", true}});
  for (const HourLine& h : log.hours) {
    table.Add({HourText(h.hour), Number(h.qsos), Number(h.points), Number(h.newMultipliers),
               Number(h.score)});
  }
  table.AppendTo(out);
}

void AppendLog(std::string& out, const LogSummary& log) {
  out += "Summary of ";
  AppendEscaped(out, log.name);
  out += '\n';
  AppendClaimedScore(out, log.claimed);
  AppendLeftOut(out, log.leftOut);
  AppendBands(out, log);
  AppendMultipliers(out, log.multipliers, "Multipliers worked");
  AppendDuplicates(out, log);
  AppendZeroPoints(out, log);
  AppendHours(out, log);
}

// The log's number in the head-to-head's columns.
std::string Numbered(const std::string& text, std::size_t log) {
  return text + ' ' + std::to_string(log + 1);
}

void AppendScores(std::string& out, const std::vector<LogSummary>& logs) {
  TextTable table({{"Log"},
                   {"Name"},
                   {"QSOs", true},
                   {"Points", true},
                   {"Multipliers", true},
                   {"Score", true}});
  for (std::size_t i = 0; i < logs.size(); ++i) {
    const TReportTotals& c = logs[i].claimed;
    table.Add({std::to_string(i + 1), logs[i].name, Number(c.QSOs), Number(c.Points),
               Number(c.Mults), Number(c.Score)});
  }
  table.AppendTo(out);
}

void AppendComparedBands(std::string& out, const std::vector<LogSummary>& logs,
                         const Comparison& comparison) {
  AppendHeading(out, "Per band and mode: QSOs, points and multipliers of each log");
  std::vector<Column> columns = {{"Band"}, {"Mode"}};
  for (std::size_t i = 0; i < logs.size(); ++i) {
    for (const char* heading : {"QSOs", "Points", "Mults"}) {
      columns.push_back({Numbered(heading, i), true});
    }
  }
  TextTable table(std::move(columns));
  for (const ComparedBandMode& line : comparison.bands) {
    std::vector<std::string> cells = {line.band, line.mode};
    for (std::size_t i = 0; i < logs.size(); ++i) {
      cells.insert(cells.end(),
                   {Number(line.qsos[i]), Number(line.points[i]), Number(line.multipliers[i])});
    }
    table.Add(std::move(cells));
  }
  table.AppendTo(out);
}

void AppendCalls(std::string& out, const std::vector<std::string>& calls) {
  constexpr std::size_t kLineWidth = 78;
  std::string line;
  for (const std::string& call : calls) {
    if (!line.empty() && line.size() + 1 + call.size() > kLineWidth) {
      out += line + '\n';
      line.clear();
    }
    line += line.empty() ? "" : " ";
    AppendEscaped(line, call);
  }
  if (!line.empty()) {
    out += line + '\n';
  }
}

void AppendComparedHours(std::string& out, const std::vector<LogSummary>& logs,
                         const Comparison& comparison) {
  AppendHeading(out, "Score at the end of each hour (UTC)");
  std::vector<Column> columns = {{"Hour"}};
  for (std::size_t i = 0; i < logs.size(); ++i) {
    columns.push_back({Numbered("Score", i), true});
  }
  TextTable table(std::move(columns));
  for (const ComparedHour& hour : comparison.hours) {
    std::vector<std::string> cells = {HourText(hour.hour)};
    for (const std::int64_t score : hour.score) {
      cells.push_back(Number(score));
    }
    table.Add(std::move(cells));
  }
  table.AppendTo(out);
}

void AppendComparison(std::string& out, const std::vector<LogSummary>& logs,
                      const Comparison& comparison) {
  out += "Head to head\n\n";
  AppendScores(out, logs);
  AppendComparedBands(out, logs, comparison);
  for (std::size_t i = 0; i < logs.size(); ++i) {
    AppendMultipliers(out, comparison.multipliersOnly[i],
                      "Multipliers only log " + std::to_string(i + 1) + " worked");
  }
  for (std::size_t i = 0; i < logs.size(); ++i) {
    const std::vector<std::string>& calls = comparison.stationsOnly[i];
    AppendHeading(out, "Stations only log " + std::to_string(i + 1) +
                           " worked: " + std::to_string(calls.size()));
    AppendCalls(out, calls);
  }
  AppendComparedHours(out, logs, comparison);
}

}  // namespace

std::string SummaryText(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  std::string out;
  for (const LogSummary& log : logs) {
    if (!out.empty()) {
      out += "\n\n";
    }
    AppendLog(out, log);
  }
  if (logs.size() >= 2) {
    out += "\n\n";
    AppendComparison(out, logs, comparison);
  }
  return out;
}

}  // namespace orva::host
