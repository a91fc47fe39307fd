// The summary as plain text: aligned tables of spaces, no tabs, which read
// well in a terminal and keep their columns when pasted into a web form of
// a score-reporting site.
#pragma once

#include <string>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

// Each log's summary, then, for two or more logs, the head-to-head.
// `comparison` is ignored for fewer than two logs.
std::string SummaryText(const std::vector<LogSummary>& logs, const Comparison& comparison);

}  // namespace orva::host
