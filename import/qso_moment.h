// The moment of a QSO: its date and time as the log readers give them, as
// one number that orders as time does. The readers' time order, the contest
// period and the summary's hours all read a QSO's time through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orva::import {

// Whole seconds since 1970-01-01 00:00 UTC; logs give their times in UTC.
using Moment = std::int64_t;

inline constexpr Moment kSecondsPerHour = 3600;

// The moment of a date "YYYY-MM-DD" and a time "HH:MM" or "HH:MM:SS", as the
// log readers give them; nothing when either is missing or no real date or
// time of day.
std::optional<Moment> MomentOf(std::string_view date, std::string_view time);

}  // namespace orva::import
