// A score explained QSO by QSO: the log's rows in the order the plug-in's
// recalculation scores them, each with the reference its rules found, the
// points, the multiplier it added, and where it came from. The scoring code
// is the plug-in's own, run here on the same rows, so the explanation cannot
// drift from the score.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "host/open_log.h"
#include "scoring/report.h"

namespace orva::host {

// The header line of the explanation, tab-separated.
inline constexpr std::string_view kExplainHeader =
    "callsign\tband\tmode\texchange\treference\tpoints\tmultiplier\tdate\ttime\trecord";

// One row of a log as the recalculation scored it, and where it came from:
// what an explanation prints, and what an account of a contest day can be
// made of. The texts stay valid until the observer returns.
struct ScoredRow {
  std::string_view callSign, band, mode, exchange;
  std::string_view reference;   // what the rule found at the end; empty when none
  std::int32_t points;          // 15, 2 or 0; -1 for a duplicate
  std::string_view multiplier;  // the key it added; empty when none
  std::string_view date;        // "YYYY-MM-DD", UTC as the file gives it; empty when unknown
  std::string_view time;        // "HH:MM" or "HH:MM:SS"; empty when unknown
  std::size_t record;           // its number in its file or table, from 1; 0 when unknown
  // The position in the multiplier list of the key it counts towards, which
  // an earlier row may have added (TScoreDetail::multiplierIndex).
  std::size_t multiplierIndex;
};

using ScoredRowObserver = std::function<void(const ScoredRow&)>;

// Scores every row of `table` in `log` as the plug-in's recalculation does
// and shows each to `observe` in that order. An imported file's rows tell
// where they came from when it was opened with its origins kept; an SQLite
// log's rows are numbered in their table's order and have no date or time.
// When the recalculation fails, the rows shown before stand and a HostFailure
// with the reason is raised, its status kIncomplete. `totals`, when given,
// receives the report's totals.
void ScoreRows(const OpenLog& log, const std::string& table, const ScoredRowObserver& observe,
               TReportTotals* totals = nullptr);

// Appends `text` with backslash written as "\\" and control characters
// (below 32, and 127) as "\xHH", so that one row stays one line.
void AppendEscaped(std::string& line, std::string_view text);

// Writes the header and one line per scored row to `out`. When the
// recalculation fails, the rows scored before are written, and the failure
// raised as ScoreRows raises it.
void Explain(const OpenLog& log, const std::string& table, std::FILE* out);

}  // namespace orva::host
