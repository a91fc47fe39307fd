// The operating time and the best rates, each one pass over the QSOs' times
// in order: a log of 100,000 QSOs costs them a few milliseconds.
#include "host/summary/summary_time.h"

#include <algorithm>

namespace orva::host {
namespace {

constexpr Moment kSecondsPerMinute = 60;

Moment MinuteOf(Moment moment) {
  const Moment into = moment % kSecondsPerMinute;
  return moment - (into < 0 ? into + kSecondsPerMinute : into);
}

}  // namespace

OperatingTime OperatingTimeOf(const std::vector<Moment>& moments, std::int64_t minOffMinutes) {
  OperatingTime operating;
  operating.minOffMinutes = minOffMinutes;
  if (moments.empty()) {
    return operating;
  }
  std::int64_t offMinutes = 0;
  for (std::size_t i = 1; i < moments.size(); ++i) {
    const Moment from = MinuteOf(moments[i - 1]), to = MinuteOf(moments[i]);
    const std::int64_t gap = (to - from) / kSecondsPerMinute;
    if (gap >= minOffMinutes) {
      operating.offTimes.push_back({from, to, gap});
      offMinutes += gap;
    }
  }
  const std::int64_t span =
      (MinuteOf(moments.back()) - MinuteOf(moments.front())) / kSecondsPerMinute;
  operating.minutes = span - offMinutes;
  return operating;
}

BestRate BestRateOf(const std::vector<Moment>& moments, std::int64_t minutes) {
  BestRate best{minutes, 0, std::nullopt};
  // The best stretch can always be taken to start at a QSO's minute: the
  // window [start, start + minutes) slides from QSO to QSO.
  std::size_t end = 0;
  for (std::size_t start = 0; start < moments.size(); ++start) {
    const Moment from = MinuteOf(moments[start]);
    if (start > 0 && from == MinuteOf(moments[start - 1])) {
      continue;  // the same minute's stretch, already counted whole
    }
    const Moment until = from + minutes * kSecondsPerMinute;
    end = std::max(end, start);
    while (end < moments.size() && moments[end] < until) {
      ++end;
    }
    const auto qsos = static_cast<std::int64_t>(end - start);
    if (qsos > best.qsos) {
      best.qsos = qsos;
      best.from = from;
    }
  }
  return best;
}

}  // namespace orva::host
