// The rows of a log scored by the plug-in's own recalculation, each with
// where it came from: what the explanation prints and the summary is made
// of. The scoring code is the plug-in's, run here on the same rows, so that
// neither can drift from the score.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "host/logs/open_log.h"
#include "scoring/report.h"

namespace orva::host {

// One row of a log as the recalculation scored it, and where it came from:
// what an explanation prints, and what an account of a contest day can be
// made of. The texts stay valid until the observer returns.
struct ScoredRow {
  std::string_view callSign, band, mode, exchange;
  std::string_view reference;   // what the rule found at the end; empty when none
  std::string_view continent;   // the log's own continent field
  std::int32_t points;          // 15, 2 or 0; -1 for a duplicate
  std::string_view multiplier;  // the key it added; empty when none
  import::QsoTime when;         // as the file gives it; nothing for an SQLite log's rows
  std::size_t record;           // its number in its file or table, from 1; 0 when unknown
  // The position in the multiplier list of the key it counts towards, which
  // an earlier row may have added (TScoreDetail::multiplierIndex).
  std::size_t multiplierIndex;
};

using ScoredRowObserver = std::function<void(const ScoredRow&)>;

// Scores every row of `table` in `log` as the plug-in's recalculation does
// and shows each to `observe` in that order. An imported file's rows tell
// where they came from (OpenLog::ImportedOrigins); an SQLite log's rows are
// numbered in their table's order and have no date or time.
// When the recalculation fails, the rows shown before stand and a HostFailure
// with the reason is raised, its status kIncomplete. `totals`, when given,
// receives the report's totals.
void ScoreRows(const OpenLog& log, const std::string& table, const ScoredRowObserver& observe,
               TReportTotals* totals = nullptr);

}  // namespace orva::host
