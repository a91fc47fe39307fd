// The summary's tables as plain rows of text, built once for the text
// summary and the page alike, so that both show the same columns and
// figures in the same order and each writer only lays them out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

struct TableColumn {
  std::string heading;
  bool number = false;  // right-aligned
  // Names of files, shown as written (file_names.h), not escaped as a log's
  // texts are.
  bool fileNames = false;
};

struct SummaryTable {
  std::string heading;
  std::string note;                  // a line of explanation under the heading; may be empty
  std::vector<TableColumn> columns;  // none: the note stands for the table
  std::vector<std::vector<std::string>> rows;
  std::size_t allRows = 0;  // before a limit cut the rows short
  bool lastRowIsTotal = false;
  // One column whose cells read better as words in a line than one a line.
  bool flowing = false;
  // Words that a page shows on request only, by their count: a list of
  // callsigns worked by one log alone runs to thousands.
  bool folded = false;
};

// "YYYY-MM-DD HH:MM", or "-" without a time.
std::string TimeText(std::optional<Moment> time);

// The claimed score as the report gives it, "points*multipliers=score".
std::string ScoreText(const TReportTotals& claimed);

// The tables of one log, and of the head-to-head of two or three; a long
// list keeps at most `limit` rows.
std::vector<SummaryTable> LogTables(const LogSummary& log, std::size_t limit);
std::vector<SummaryTable> ComparisonTables(const std::vector<LogSummary>& logs,
                                           const Comparison& comparison, std::size_t limit);

}  // namespace orva::host
