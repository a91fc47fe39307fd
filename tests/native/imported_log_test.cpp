// The order in which imported QSOs reach the plug-in: the time they were
// made, whatever order the file lists them in.
#include "import/imported_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orva::import {
namespace {

ImportedQso At(std::string call, std::string date, std::string time) {
  ImportedQso qso;
  qso.CallSign = std::move(call);
  qso.date = std::move(date);
  qso.time = std::move(time);
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

TEST(DateAndTimeOfDigits, WriteOnlyRealDatesAndTimes) {
  EXPECT_EQ(DateOfDigits("20260725"), "2026-07-25");
  EXPECT_EQ(TimeOfDigits("1602"), "16:02");
  EXPECT_EQ(TimeOfDigits("235959"), "23:59:59");
  for (const char* bad :
       {"", "2026072", "202607255", "20260025", "20261301", "20260732", "2026-7-25", "2026O725"}) {
    EXPECT_EQ(DateOfDigits(bad), "") << bad;
  }
  for (const char* bad : {"", "160", "16020", "2400", "1660", "160260", "16:0", "1a02"}) {
    EXPECT_EQ(TimeOfDigits(bad), "") << bad;
  }
}

}  // namespace
}  // namespace orva::import
