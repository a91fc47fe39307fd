// The contest period's times, read as strictly as a QSO's (qso_moment.h):
// anything but the one form on the command line is a mistake to name.
#include "host/logs/contest_period.h"

#include <chrono>

namespace orva::host {

std::optional<Moment> ParseMoment(std::string_view text) {
  if (text.size() != 16 || text[10] != ' ') {
    return std::nullopt;
  }
  return MomentOf(text.substr(0, 10), text.substr(11));
}

std::string FormatMoment(Moment moment) {
  const auto day =
      std::chrono::floor<std::chrono::days>(std::chrono::sys_seconds(std::chrono::seconds(moment)));
  const Moment intoDay = moment - std::chrono::sys_seconds(day).time_since_epoch().count();
  const std::chrono::year_month_day date(day);
  // Written digit by digit: a summary formats tens of thousands of times.
  std::string text = "0000-00-00 00:00";
  const auto put = [&text](std::size_t end, long long value, int digits) {
    for (int i = 1; i <= digits; ++i, value /= 10) {
      text[end - i] = static_cast<char>('0' + value % 10);
    }
  };
  put(4, static_cast<int>(date.year()), 4);
  put(7, static_cast<unsigned>(date.month()), 2);
  put(10, static_cast<unsigned>(date.day()), 2);
  put(13, intoDay / kSecondsPerHour, 2);
  put(16, intoDay % kSecondsPerHour / 60, 2);
  return text;
}

}  // namespace orva::host
