// Each log opened, scored row by row through the plug-in's recalculation and
// summarized while the next waits, so that only one temporary log is open at
// a time; then the summary written in the form asked for.
#include "host/summary/summary_mode.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "host/logs/scored_rows.h"
#include "host/summary/summary.h"
#include "host/summary/summary_json.h"
#include "host/summary/summary_page.h"
#include "host/summary/summary_text.h"
#include "host/system/console.h"

namespace orva::host {

// A summary of part of a log would claim a score the plug-in never showed:
// a recalculation that fails part way gives none.
LogSummary SummarizeLog(const OpenLog& log, const ImportSettings& settings,
                        std::int64_t minOffMinutes) {
  SummaryRows rows;
  TReportTotals totals;
  LeftOut leftOut = log.Omissions();
  const auto keep = [&](const ScoredRow& row) {
    const std::optional<Moment> time = row.when.At();
    rows.push_back({std::string(row.callSign), std::string(row.band), std::string(row.mode),
                    std::string(row.reference), std::string(row.continent), row.points,
                    row.multiplierIndex, std::string(row.multiplier), time, row.record});
    // An SQLite log's rows have no time for the period to judge.
    leftOut.keptWithoutTime += !log.Imported() && settings.period.Limited() && !time ? 1 : 0;
  };
  try {
    ScoreRows(log, settings.table, keep, &totals);
  } catch (const HostFailure& failure) {
    throw HostFailure(failure.what(), kFailed);
  }
  return Summarize(log.Name(), rows, totals, leftOut, minOffMinutes);
}

namespace {

// Text printed as the system prints text (CR LF line ends on Windows).
bool PrintText(const std::string& text) {
  WriteText(stdout, text);
  return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace

ExitStatus WriteSummary(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                        const SummaryRequest& request) {
  bool complete = true;
  std::vector<LogSummary> summaries;
  for (const LogSpec& source : logs) {
    summaries.push_back(
        SummarizeLog(*OpenLog::Open(source, settings, complete), settings, request.minOffMinutes));
  }
  const Comparison comparison = summaries.size() >= 2 ? Compare(summaries) : Comparison{};
  switch (request.form) {
    case SummaryRequest::Form::kText:
    case SummaryRequest::Form::kJson:
      if (!PrintText(request.form == SummaryRequest::Form::kJson
                         ? SummaryJson(summaries, comparison)
                         : SummaryText(summaries, comparison))) {
        throw HostFailure("cannot write standard output: " + std::string(std::strerror(errno)));
      }
      break;
    case SummaryRequest::Form::kPage:
      WriteUserFile(request.page, SummaryPage(summaries, comparison));
      break;
  }
  return complete ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
