// What the times of a log's QSOs tell beyond the hourly sheet: the operating
// time with its off-times, which an operator states beside a claimed score,
// and the best rates, which a clock hour hides when a run straddles two.
// Both count by the minute, as logs give their times and as operators
// speak of them.
#pragma once

#include <cstdint>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

// The operating time of QSOs at `moments`, in time order: a gap of at least
// `minOffMinutes` between the minutes of two consecutive QSOs is an
// off-time.
OperatingTime OperatingTimeOf(const std::vector<Moment>& moments, std::int64_t minOffMinutes);

// The most QSOs at `moments`, in time order, that fall in `minutes`
// consecutive minutes, the earliest such stretch when several hold as many.
BestRate BestRateOf(const std::vector<Moment>& moments, std::int64_t minutes);

}  // namespace orva::host
