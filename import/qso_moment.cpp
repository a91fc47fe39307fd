// A QSO's date and time read digit by digit: they come from files of other
// programs and from the command line, where anything but the one form is a
// mistake to name rather than a time to guess.
#include "import/qso_moment.h"

#include <chrono>

namespace orva::import {
namespace {

// The number written by exactly `digits` digits at `at`, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) {
    return -1;
  }
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return -1;
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool HasAt(std::string_view text, std::size_t at, char c) {
  return at < text.size() && text[at] == c;
}

std::optional<std::chrono::sys_days> DateOf(std::string_view text) {
  if (text.size() != 10 || !HasAt(text, 4, '-') || !HasAt(text, 7, '-')) {
    return std::nullopt;
  }
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  if (year < 0 || month < 0 || day < 0 || !date.ok()) {
    return std::nullopt;
  }
  return std::chrono::sys_days(date);
}

// Seconds into the day of "HH:MM" or "HH:MM:SS".
std::optional<Moment> TimeOfDayOf(std::string_view text) {
  if ((text.size() != 5 && text.size() != 8) || !HasAt(text, 2, ':')) {
    return std::nullopt;
  }
  const int hour = Digits(text, 0, 2), minute = Digits(text, 3, 2);
  const int second = text.size() == 8 && HasAt(text, 5, ':') ? Digits(text, 6, 2)
                     : text.size() == 5                      ? 0
                                                             : -1;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return Moment{hour} * kSecondsPerHour + minute * 60 + second;
}

}  // namespace

std::optional<Moment> MomentOf(std::string_view date, std::string_view time) {
  const std::optional<std::chrono::sys_days> day = DateOf(date);
  const std::optional<Moment> seconds = TimeOfDayOf(time);
  if (!day || !seconds) {
    return std::nullopt;
  }
  return std::chrono::sys_seconds(*day).time_since_epoch().count() + *seconds;
}

}  // namespace orva::import
