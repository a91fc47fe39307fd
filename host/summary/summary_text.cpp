// The text summary: each table under its heading, its columns as wide as
// their widest cell. Texts from the log keep their bytes, except control
// characters, which are escaped as in --explain so that a row stays one line;
// the names of the logs' files stand as written (file_names.h).
#include "host/summary/summary_text.h"

#include <algorithm>
#include <limits>

#include "base/text.h"
#include "host/summary/summary_tables.h"
#include "host/system/file_names.h"

namespace orva::host {
namespace {

constexpr std::size_t kLineWidth = 78;

std::string Escaped(std::string_view text) {
  std::string escaped;
  AppendEscaped(escaped, text);
  return escaped;
}

// The width of a file's name in characters, which a terminal shows one a
// column.
std::size_t NameWidth(std::string_view name) {
  return NameCharacters(PrintableName(name)).size();
}

std::size_t CellWidth(const TableColumn& column, std::string_view cell) {
  return column.fileNames ? NameWidth(cell) : EscapedSize(cell);
}

// Written straight into `out`: the multiplier sheet of a large log has tens
// of thousands of rows.
void AppendLine(std::string& out, const SummaryTable& table, const std::vector<std::string>& cells,
                const std::vector<std::size_t>& widths) {
  const std::size_t start = out.size();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const std::size_t room = widths[i] - CellWidth(table.columns[i], cells[i]);
    const bool right = table.columns[i].number;
    out.append(i == 0 ? 0 : 2, ' ');
    out.append(right ? room : 0, ' ');
    if (table.columns[i].fileNames) {
      out += PrintableName(cells[i]);
    } else {
      AppendEscaped(out, cells[i]);
    }
    out.append(right ? 0 : room, ' ');
  }
  const std::size_t end = out.find_last_not_of(' ');
  out.resize(end == std::string::npos || end < start ? start : end + 1);
  out += '\n';
}

void AppendColumns(std::string& out, const SummaryTable& table) {
  std::vector<std::string> headings;
  std::vector<std::size_t> widths;
  for (const TableColumn& column : table.columns) {
    headings.push_back(column.heading);
    widths.push_back(column.heading.size());
  }
  for (const std::vector<std::string>& row : table.rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      widths[i] = std::max(widths[i], CellWidth(table.columns[i], row[i]));
    }
  }
  AppendLine(out, table, headings, widths);
  for (const std::vector<std::string>& row : table.rows) {
    AppendLine(out, table, row, widths);
  }
}

// The cells of a one-column table as words, lines filled up to kLineWidth.
void AppendWords(std::string& out, const SummaryTable& table) {
  std::string line;
  for (const std::vector<std::string>& row : table.rows) {
    const std::string word = Escaped(row.front());
    if (!line.empty() && line.size() + 1 + word.size() > kLineWidth) {
      out += line + '\n';
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) {
    out += line + '\n';
  }
}

void AppendTables(std::string& out, const std::vector<SummaryTable>& tables) {
  for (const SummaryTable& table : tables) {
    out += '\n' + Escaped(table.heading) + '\n';
    if (!table.note.empty()) {
      out += table.note + '\n';
    }
    if (table.columns.empty() || table.rows.empty()) {
      continue;
    }
    if (table.flowing) {
      AppendWords(out, table);
    } else {
      AppendColumns(out, table);
    }
  }
}

void AppendLog(std::string& out, const LogSummary& log) {
  const TReportTotals& c = log.claimed;
  out += "Summary of " + PrintableName(log.name) + '\n';
  out += "Claimed score: " + ScoreText(c) + " (" + std::to_string(c.QSOs) + " QSOs, " +
         std::to_string(c.Points) + " points, " + std::to_string(c.Mults) + " multipliers)\n";
  for (const std::string& note : LeftOutNotes(log.leftOut)) {
    out += note + '\n';
  }
  AppendTables(out, LogTables(log, std::numeric_limits<std::size_t>::max()));
}

}  // namespace

std::string SummaryText(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  std::string out;
  for (const LogSummary& log : logs) {
    out += out.empty() ? "" : "\n\n";
    AppendLog(out, log);
  }
  if (logs.size() >= 2) {
    out += "\n\nHead to head\n";
    AppendTables(out, ComparisonTables(logs, comparison, std::numeric_limits<std::size_t>::max()));
  }
  return out;
}

}  // namespace orva::host
