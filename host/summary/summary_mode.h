// The day-after modes of orva-host: --summary (as text, or with --json as
// one JSON document) and --html, for one log or two or three side by side,
// each log scored by the plug-in's own recalculation; and the summary of one
// open log, which they are made of.
#pragma once

#include <string>
#include <vector>

#include "host/logs/log_source.h"
#include "host/logs/open_log.h"
#include "host/summary/summary.h"
#include "host/system/host_failure.h"

namespace orva::host {

struct SummaryRequest {
  enum class Form { kText, kJson, kPage };
  Form form = Form::kText;
  std::string page;  // the page's file; "-": standard output
  std::int64_t minOffMinutes = kDefaultMinOffMinutes;
};

// The summary of one open log, its rows scored by the plug-in's own
// recalculation over the settings' table, its off-times pauses of at
// least `minOffMinutes`. Raises a HostFailure, kFailed,
// when the recalculation fails part way.
LogSummary SummarizeLog(const OpenLog& log, const ImportSettings& settings,
                        std::int64_t minOffMinutes = kDefaultMinOffMinutes);

// Writes the summary of the logs: kSucceeded, or kIncomplete when a log's
// score may be incomplete (records left out, a log without QSOs). Raises a
// HostFailure when a log cannot be opened or scored to its end, or the
// summary not written; nothing is written then.
ExitStatus WriteSummary(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                        const SummaryRequest& request);

}  // namespace orva::host
