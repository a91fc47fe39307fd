// A QSO's date and time as the tests write and expect them: "YYYY-MM-DD" and
// "HH:MM" or "HH:MM:SS", empty for what a record did not give.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "import/qso_moment.h"

namespace orva::test {

inline import::QsoTime When(std::string_view date, std::string_view time) {
  using import::Written;
  return import::QsoTime(import::DayOf(date, Written::kSeparated),
                         import::TimeOf(time, Written::kSeparated));
}

inline std::pair<std::string, std::string> Texts(const import::QsoTime& when) {
  std::pair<std::string, std::string> texts;
  when.AppendDate(texts.first);
  when.AppendTime(texts.second);
  return texts;
}

}  // namespace orva::test
