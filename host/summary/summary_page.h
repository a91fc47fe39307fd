// The summary as one self-contained HTML page: the summary's tables, and
// charts where people would rather look than read (QSOs per hour stacked by
// band, the score and the multipliers growing through the contest, QSOs and
// multipliers per band and mode, and the hourly score of each log of a
// head-to-head). The chart library and the data stand inside the page, which
// fetches nothing and so opens from disk with no network. It reads on a
// phone-sized screen and prints.
//
// The page is well-formed XML as well as HTML, and plain ASCII: a log's bytes from 0x80 up are
// written as character references of the same number (Latin-1), control bytes as
// "\xHH" as in the text summary. The names of the logs' files are written as
// the references of their characters (file_names.h).
#pragma once

#include <string>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

// The most entries of one long list (multipliers, duplicates, 0-point QSOs,
// stations) that the page shows; the page says how many more there are. A
// log of 100,000 QSOs holds tens of thousands of multipliers, which would
// make a page of many megabytes that nobody reads row by row; the text and
// JSON summaries list them all.
inline constexpr std::size_t kPageListLimit = 1000;

std::string SummaryPage(const std::vector<LogSummary>& logs, const Comparison& comparison);

}  // namespace orva::host
