// A score explained QSO by QSO: the log's rows in the order the plug-in's
// recalculation scores them, each with the reference its rules found, the
// points, the multiplier it added, and where it came from. The scoring code
// is the plug-in's own, run here on the same rows, so the explanation cannot
// drift from the score.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "host/logs/open_log.h"

namespace orva::host {

// The header line of the explanation, tab-separated.
inline constexpr std::string_view kExplainHeader =
    "callsign\tband\tmode\texchange\treference\tpoints\tmultiplier\tdate\ttime\trecord";

// Writes the header and one line per scored row to `out`. When the
// recalculation fails, the rows scored before are written, and the failure
// raised as ScoreRows raises it.
void Explain(const OpenLog& log, const std::string& table, std::FILE* out);

}  // namespace orva::host
