// The order in which imported QSOs reach the plug-in: the time they were
// made, whatever order the file lists them in.
#include "import/imported_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/qso_time_texts.h"

namespace orva::import {
namespace {

ImportedQso At(std::string call, std::string_view date, std::string_view time) {
  ImportedQso qso;
  qso.CallSign = std::move(call);
  qso.when = test::When(date, time);
  return qso;
}

std::vector<std::string> Calls(const std::vector<ImportedQso>& qsos) {
  std::vector<std::string> calls;
  for (const ImportedQso& qso : qsos) {
    calls.push_back(qso.CallSign);
  }
  return calls;
}

TEST(PutInTimeOrder, OrdersByDateAndTimeKeepingFileOrderOtherwise) {
  std::vector<ImportedQso> qsos = {
      At("NO-TIME-1", "2026-07-25", ""),           At("LATE", "2026-07-26", "00:01"),
      At("EVENING", "2026-07-25", "19:30"),        At("NO-DATE", "", "12:00"),
      At("SECONDS", "2026-07-25", "16:02:30"),     At("AFTERNOON-1", "2026-07-25", "16:02"),
      At("AFTERNOON-2", "2026-07-25", "16:02:00"), At("NO-TIME-2", "", ""),
  };
  PutInTimeOrder(qsos);
  EXPECT_EQ(Calls(qsos),
            std::vector<std::string>({"AFTERNOON-1", "AFTERNOON-2", "SECONDS", "EVENING", "LATE",
                                      "NO-TIME-1", "NO-DATE", "NO-TIME-2"}));
}

enum Part { kDate, kTime };

struct WrittenCase {
  Part part;
  const char* text;
  Written written;
  const char* read;  // as the tools write it; empty for no date or time
};

class DatesAndTimesAsWritten : public testing::TestWithParam<WrittenCase> {};

TEST_P(DatesAndTimesAsWritten, ReadOnlyRealOnesInTheirOneForm) {
  const WrittenCase& given = GetParam();
  const QsoTime when = given.part == kDate
                           ? QsoTime(DayOf(given.text, given.written), std::nullopt)
                           : QsoTime(std::nullopt, TimeOf(given.text, given.written));
  const auto [date, time] = test::Texts(when);
  EXPECT_EQ(given.part == kDate ? date : time, given.read) << given.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DatesAndTimesAsWritten,
    testing::Values(WrittenCase{kDate, "20260725", Written::kDigits, "2026-07-25"},
                    WrittenCase{kDate, "2026-07-25", Written::kSeparated, "2026-07-25"},
                    WrittenCase{kDate, "20240229", Written::kDigits, "2024-02-29"},
                    WrittenCase{kDate, "19691231", Written::kDigits, "1969-12-31"},
                    WrittenCase{kDate, "2026-07-25", Written::kDigits, ""},
                    WrittenCase{kDate, "20260725", Written::kSeparated, ""},
                    WrittenCase{kDate, "2026/07/25", Written::kSeparated, ""},
                    WrittenCase{kDate, "20250229", Written::kDigits, ""},
                    WrittenCase{kDate, "", Written::kDigits, ""},
                    WrittenCase{kDate, "2026072", Written::kDigits, ""},
                    WrittenCase{kDate, "202607255", Written::kDigits, ""},
                    WrittenCase{kDate, "20260025", Written::kDigits, ""},
                    WrittenCase{kDate, "20261301", Written::kDigits, ""},
                    WrittenCase{kDate, "20260732", Written::kDigits, ""},
                    WrittenCase{kDate, "2026-7-25", Written::kSeparated, ""},
                    WrittenCase{kDate, "2026O725", Written::kDigits, ""},
                    WrittenCase{kTime, "1602", Written::kDigits, "16:02"},
                    WrittenCase{kTime, "235959", Written::kDigits, "23:59:59"},
                    WrittenCase{kTime, "16:02", Written::kSeparated, "16:02"},
                    WrittenCase{kTime, "00:00:00", Written::kSeparated, "00:00:00"},
                    WrittenCase{kTime, "16:02", Written::kDigits, ""},
                    WrittenCase{kTime, "1602", Written::kSeparated, ""},
                    WrittenCase{kTime, "16:0230", Written::kSeparated, ""},
                    WrittenCase{kTime, "", Written::kDigits, ""},
                    WrittenCase{kTime, "160", Written::kDigits, ""},
                    WrittenCase{kTime, "16020", Written::kDigits, ""},
                    WrittenCase{kTime, "2400", Written::kDigits, ""},
                    WrittenCase{kTime, "1660", Written::kDigits, ""},
                    WrittenCase{kTime, "160260", Written::kDigits, ""},
                    WrittenCase{kTime, "16:0", Written::kSeparated, ""},
                    WrittenCase{kTime, "1a02", Written::kDigits, ""}));

TEST(QsoTime, HasAMomentOnlyWithBothADateAndATime) {
  EXPECT_EQ(test::When("1970-01-02", "00:00:01").At(), kSecondsPerDay + 1);
  EXPECT_EQ(test::When("1969-12-31", "23:30").At(), -30 * 60);
  EXPECT_EQ(test::When("2026-07-25", "").At(), std::nullopt);
  EXPECT_EQ(test::When("", "12:00").At(), std::nullopt);
  EXPECT_GT(QsoTime().OrderKey(), test::When("9999-12-31", "23:59:59").OrderKey());
}

}  // namespace
}  // namespace orva::import
