// A QSO's date and time read digit by digit: they come from files of other
// programs and from the command line, where anything but the one form is a
// mistake to name rather than a time to guess. Written digit by digit too: a
// summary or an explanation of a large log formats hundreds of thousands.
#include "import/qso_moment.h"

#include <chrono>
#include <limits>

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

// Where each field of a date or time starts, as written: "YYYYMMDD" and
// "HHMMSS" or "YYYY-MM-DD" and "HH:MM:SS".
struct Layout {
  char separator;  // '\0' for none
  std::size_t step;
};

Layout DateLayout(Written written) {
  return written == Written::kDigits ? Layout{'\0', 2} : Layout{'-', 3};
}

Layout TimeLayout(Written written) {
  return written == Written::kDigits ? Layout{'\0', 2} : Layout{':', 3};
}

bool SeparatedAt(std::string_view text, Layout layout, std::size_t at) {
  return layout.separator == '\0' || (at < text.size() && text[at] == layout.separator);
}

void AppendDigits(std::string& out, long long value, int digits) {
  char text[4];
  for (int i = digits - 1; i >= 0; --i, value /= 10) {
    text[i] = static_cast<char>('0' + value % 10);
  }
  out.append(text, static_cast<std::size_t>(digits));
}

void AppendDay(std::string& out, std::int32_t day) {
  const std::chrono::year_month_day date{std::chrono::sys_days(std::chrono::days(day))};
  AppendDigits(out, static_cast<int>(date.year()), 4);
  out += '-';
  AppendDigits(out, static_cast<unsigned>(date.month()), 2);
  out += '-';
  AppendDigits(out, static_cast<unsigned>(date.day()), 2);
}

void AppendClock(std::string& out, std::int32_t seconds, bool toTheSecond) {
  AppendDigits(out, seconds / kSecondsPerHour, 2);
  out += ':';
  AppendDigits(out, seconds % kSecondsPerHour / 60, 2);
  if (toTheSecond) {
    out += ':';
    AppendDigits(out, seconds % 60, 2);
  }
}

std::int32_t DayOfMoment(Moment moment) {
  return static_cast<std::int32_t>(
      std::chrono::floor<std::chrono::days>(std::chrono::sys_seconds(std::chrono::seconds(moment)))
          .time_since_epoch()
          .count());
}

}  // namespace

std::optional<std::int32_t> DayOf(std::string_view date, Written written) {
  const Layout layout = DateLayout(written);
  const std::size_t monthAt = 4 + layout.step - 2, dayAt = monthAt + layout.step;
  if (date.size() != dayAt + 2 || !SeparatedAt(date, layout, 4) ||
      !SeparatedAt(date, layout, dayAt - 1)) {
    return std::nullopt;
  }
  const int year = Digits(date, 0, 4), month = Digits(date, monthAt, 2),
            day = Digits(date, dayAt, 2);
  const std::chrono::year_month_day calendar{std::chrono::year(year),
                                             std::chrono::month(static_cast<unsigned>(month)),
                                             std::chrono::day(static_cast<unsigned>(day))};
  if (year < 0 || month < 0 || day < 0 || !calendar.ok()) {
    return std::nullopt;
  }
  return std::chrono::sys_days(calendar).time_since_epoch().count();
}

std::optional<TimeOfDay> TimeOf(std::string_view time, Written written) {
  const Layout layout = TimeLayout(written);
  const std::size_t minuteAt = layout.step, secondAt = 2 * layout.step;
  const bool toTheSecond = time.size() == secondAt + 2;
  if ((time.size() != minuteAt + 2 && !toTheSecond) || !SeparatedAt(time, layout, 2) ||
      (toTheSecond && !SeparatedAt(time, layout, secondAt - 1))) {
    return std::nullopt;
  }
  const int hour = Digits(time, 0, 2), minute = Digits(time, minuteAt, 2);
  const int second = toTheSecond ? Digits(time, secondAt, 2) : 0;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return std::nullopt;
  }
  return TimeOfDay{static_cast<std::int32_t>(hour * kSecondsPerHour + minute * 60 + second),
                   toTheSecond};
}

QsoTime::QsoTime(std::optional<std::int32_t> day, std::optional<TimeOfDay> time)
    : day_(day.value_or(0)),
      second_(time ? time->seconds : 0),
      given_(static_cast<std::uint8_t>((day ? kDate : 0) | (time ? kTime : 0) |
                                       (time && time->toTheSecond ? kSeconds : 0))) {}

std::optional<Moment> QsoTime::At() const {
  if (!HasDate() || !HasTime()) {
    return std::nullopt;
  }
  return Moment{day_} * kSecondsPerDay + second_;
}

Moment QsoTime::OrderKey() const {
  return At().value_or(std::numeric_limits<Moment>::max());
}

void QsoTime::AppendDate(std::string& out) const {
  if (HasDate()) {
    AppendDay(out, day_);
  }
}

void QsoTime::AppendTime(std::string& out) const {
  if (HasTime()) {
    AppendClock(out, second_, (given_ & kSeconds) != 0);
  }
}

std::optional<Moment> ParseMoment(std::string_view text) {
  if (text.size() != 16 || text[10] != ' ') {
    return std::nullopt;
  }
  return QsoTime(DayOf(text.substr(0, 10), Written::kSeparated),
                 TimeOf(text.substr(11), Written::kSeparated))
      .At();
}

std::string FormatMoment(Moment moment) {
  const std::int32_t day = DayOfMoment(moment);
  std::string text;
  text.reserve(16);
  AppendDay(text, day);
  text += ' ';
  AppendClock(text, static_cast<std::int32_t>(moment - Moment{day} * kSecondsPerDay), false);
  return text;
}

}  // namespace orva::import
