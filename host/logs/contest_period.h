// Moments of a contest: the contest period of --from and --to (times in the
// form ParseMoment reads), which leaves out of every tool the QSOs outside
// it, and the hours the summary counts by. A whole logbook exported for one contest then scores as
// that contest's log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "import/qso_moment.h"

namespace orva::host {

using import::FormatMoment;
using import::kSecondsPerHour;
using import::Moment;
using import::ParseMoment;

// The start of the clock hour that holds the moment.
inline Moment HourOf(Moment moment) {
  const Moment into = moment % kSecondsPerHour;
  return moment - (into < 0 ? into + kSecondsPerHour : into);
}

// From its first moment up to, not including, its end: a contest that ends
// at 12:00 holds 11:59 but not 12:00. Either end may be open.
struct ContestPeriod {
  std::optional<Moment> from;
  std::optional<Moment> to;

  bool Limited() const { return from || to; }
  // A QSO without a time is held: nothing says it lies outside.
  bool Holds(std::optional<Moment> moment) const {
    return !moment || ((!from || *moment >= *from) && (!to || *moment < *to));
  }
};

// What the host left out of a log, and what a contest period kept without
// being able to judge it.
struct LeftOut {
  std::size_t outsidePeriod = 0;
  std::size_t skippedRecords = 0;   // records of a file its reader could not read
  std::size_t keptWithoutTime = 0;  // QSOs without a time, kept by a contest period
};

}  // namespace orva::host
