// When a QSO was made, read once, where its record is read: the log readers
// turn the date and time texts into a QsoTime, and the time order, the
// contest period, the summary and the explanation all take it from there,
// so that no text is parsed twice and every tool agrees on what a time is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orva::import {

// Whole seconds since 1970-01-01 00:00 UTC; logs give their times in UTC.
using Moment = std::int64_t;

inline constexpr Moment kSecondsPerHour = 3600;
inline constexpr Moment kSecondsPerDay = 24 * kSecondsPerHour;

// How a date or a time is written: as digits alone ("YYYYMMDD", "HHMM" or
// "HHMMSS", as ADIF writes them), or with their separators ("YYYY-MM-DD",
// "HH:MM" or "HH:MM:SS").
enum class Written { kDigits, kSeparated };

// Days since 1970-01-01 of a date written so; nothing for any other text or
// a day no calendar has.
std::optional<std::int32_t> DayOf(std::string_view date, Written written);

// A time of day, and whether it was given to the second.
struct TimeOfDay {
  std::int32_t seconds;  // since midnight
  bool toTheSecond;
};

// The time of day written so; nothing for any other text or no real time.
std::optional<TimeOfDay> TimeOf(std::string_view time, Written written);

// What a QSO's record said of when it was made: a day, a time of day, both
// or neither. A record may give a good date beside a malformed time, which
// the explanation still shows; only both make a moment to order and count
// by.
class QsoTime {
 public:
  QsoTime() = default;  // the record gave neither
  QsoTime(std::optional<std::int32_t> day, std::optional<TimeOfDay> time);

  std::optional<Moment> At() const;
  // The moment, and after every moment when there is none: the order in
  // which a contest counts QSOs puts those without a time last.
  Moment OrderKey() const;
  bool HasDate() const { return (given_ & kDate) != 0; }
  bool HasTime() const { return (given_ & kTime) != 0; }

  // "YYYY-MM-DD"; nothing when the record gave no date.
  void AppendDate(std::string& out) const;
  // "HH:MM", or "HH:MM:SS" for a time given to the second; nothing when the
  // record gave no time.
  void AppendTime(std::string& out) const;

 private:
  static constexpr std::uint8_t kDate = 1, kTime = 2, kSeconds = 4;

  std::int32_t day_ = 0;
  std::int32_t second_ = 0;
  std::uint8_t given_ = 0;
};

// The moment of "YYYY-MM-DD HH:MM", the form the command line takes times
// in; nothing for any other text.
std::optional<Moment> ParseMoment(std::string_view text);

// "YYYY-MM-DD HH:MM", seconds left out.
std::string FormatMoment(Moment moment);

}  // namespace orva::import
