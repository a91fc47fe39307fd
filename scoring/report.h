// The statistics report: a fixed-width table of QSOs, points and multipliers
// per band, a total line and the claimed score, as the text the window's memo
// shows. Building the text is kept apart from where it is displayed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/contest.h"

namespace orva {

// The report's total line and claimed score. The sums wrap as the 32-bit
// counters of the bands do; the score is their product in 64 bits, because
// 15 points times 150,000 multipliers does not fit 32.
struct TReportTotals {
  std::int32_t QSOs = 0;
  std::int32_t Points = 0;
  std::int32_t Mults = 0;
  std::int64_t Score = 0;
};

TReportTotals ReportTotals(const std::vector<TStatistic>& statList);

// `text` with spaces in front up to `width`; never truncated.
std::string PadLeft(std::string_view text, std::size_t width);

// The whole report, lines joined by CR LF, trimmed at both ends.
std::string BuildReportText(const std::vector<TStatistic>& statList);

}  // namespace orva
