// The statistics report: a fixed-width table of QSOs, points and multipliers
// per band, a total line and the claimed score, as the text the window's memo
// shows. Building the text is kept apart from where it is displayed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scoring/contest.h"

namespace orva {

// `text` with spaces in front up to `width`; never truncated.
std::string PadLeft(std::string_view text, std::size_t width);

// The whole report, lines joined by CR LF, trimmed at both ends.
std::string BuildReportText(const std::vector<TStatistic>& statList);

}  // namespace orva
