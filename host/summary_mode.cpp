// Each log opened, scored row by row through the plug-in's recalculation and
// summarized while the next waits, so that only one temporary log is open at
// a time; then the summary written in the form asked for.
#include "host/summary_mode.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "host/explain.h"
#include "host/summary.h"
#include "host/summary_json.h"
#include "host/summary_page.h"
#include "host/summary_text.h"

namespace orva::host {
namespace {

// A summary of part of a log would claim a score the plug-in never showed:
// a recalculation that fails part way gives none.
LogSummary SummarizeLog(const LogSpec& source, const ImportSettings& settings, bool& complete) {
  const std::unique_ptr<OpenLog> log =
      OpenLog::Open(source, settings, complete, import::Origins::kKept);
  SummaryRows rows;
  TReportTotals totals;
  LeftOut leftOut = log->Left();
  const auto keep = [&](const ScoredRow& row) {
    const std::optional<Moment> time = MomentOf(row.date, row.time);
    rows.push_back({std::string(row.callSign), std::string(row.band), std::string(row.mode),
                    std::string(row.reference), row.points, row.multiplierIndex,
                    std::string(row.multiplier), time, row.record});
    // An SQLite log's rows have no time for the period to judge.
    leftOut.keptWithoutTime += !log->Imported() && settings.period.Limited() && !time ? 1 : 0;
  };
  try {
    ScoreRows(*log, settings.table, keep, &totals);
  } catch (const HostFailure& failure) {
    throw HostFailure(failure.what(), kFailed);
  }
  return Summarize(log->Name(), rows, totals, leftOut);
}

bool WriteAll(const std::string& text, std::FILE* file) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
}

// Written whole or not at all as far as this program can tell; the reason
// of a failure in errno.
bool WritePage(const std::string& page, const std::string& path) {
  if (path == "-") {
    return WriteAll(page, stdout);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool written = file && WriteAll(page, file);
  written = file && std::fclose(file) == 0 && written;
  return written;
}

}  // namespace

ExitStatus WriteSummary(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                        const SummaryRequest& request) {
  bool complete = true;
  std::vector<LogSummary> summaries;
  for (const LogSpec& source : logs) {
    summaries.push_back(SummarizeLog(source, settings, complete));
  }
  const Comparison comparison = summaries.size() >= 2 ? Compare(summaries) : Comparison{};
  bool written = false;
  switch (request.form) {
    case SummaryRequest::Form::kText:
      written = WriteAll(SummaryText(summaries, comparison), stdout);
      break;
    case SummaryRequest::Form::kJson:
      written = WriteAll(SummaryJson(summaries, comparison), stdout);
      break;
    case SummaryRequest::Form::kPage:
      written = WritePage(SummaryPage(summaries, comparison), request.page);
      break;
  }
  if (!written) {
    const bool toFile = request.form == SummaryRequest::Form::kPage && request.page != "-";
    throw HostFailure("cannot write " + (toFile ? request.page : "standard output") + ": " +
                      std::strerror(errno));
  }
  return complete ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
