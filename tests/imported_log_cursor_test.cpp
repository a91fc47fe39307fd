// An imported file's QSOs read as a log table from memory, as the Windows
// tools read them: the rows in callsign byte order with one station's QSOs
// in the order given, the columns by name, the one query answered, and the
// plug-in's recalculation over it.
#include "import/imported_log_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/failure.h"
#include "scoring/recalculation.h"
#include "scoring/report.h"
#include "tests/test_support.h"

namespace orva::import {
namespace {

ImportedQso Qso(std::string call, std::string exchange, std::size_t record) {
  ImportedQso qso;
  qso.CallSign = std::move(call);
  qso.DigiBand = "20M";
  qso.QSOMode = "CW";
  qso.QSOReportRecived = std::move(exchange);
  qso.record = record;
  return qso;
}

// The order in which the rows come, as "CALL/number" (the number of the
// QSO in the list the cursor was given).
std::vector<std::string> Rows(platform::LogCursor& cursor) {
  std::vector<std::string> rows;
  for (; !cursor.Eof(); cursor.Next()) {
    rows.push_back(std::string(*cursor.FieldText("CallSign")) + "/" +
                   std::string(*cursor.FieldText("ImportedQso")));
  }
  return rows;
}

const std::vector<ImportedQso> kQsos = {
    Qso("OK1XYZ", "599 EU-005", 1),
    Qso("\xC4"
        "A1",
        "599", 2),
    Qso("DL1ABC", "599 EU-005", 3),
    Qso("OK1XYZ", "599 AS-001", 4),
    Qso("DL1ABC", "599 NA-001", 5),
    Qso("DL1AB", "599", 6),
};

TEST(ImportedLogCursor, DeliversTheTableInFileOrderOrInCallsignByteOrder) {
  ImportedLogCursor cursor(kQsos, "LOG");
  cursor.Open("Select * from LOG");
  EXPECT_EQ(Rows(cursor),
            (std::vector<std::string>{"OK1XYZ/1",
                                      "\xC4"
                                      "A1/2",
                                      "DL1ABC/3", "OK1XYZ/4", "DL1ABC/5", "DL1AB/6"}));
  cursor.OpenInCallsignOrder("Select * from LOG");
  // Bytes compare unsigned, a prefix first, one station's QSOs as given.
  EXPECT_EQ(Rows(cursor),
            (std::vector<std::string>{"DL1AB/6", "DL1ABC/3", "DL1ABC/5", "OK1XYZ/1", "OK1XYZ/4",
                                      "\xC4"
                                      "A1/2"}));
  EXPECT_TRUE(cursor.IsOpen());
  cursor.Close();
  EXPECT_TRUE(cursor.Eof());
  EXPECT_THROW(cursor.Next(), Failure);
  EXPECT_THROW(cursor.FieldText("CallSign"), Failure);
}

TEST(ImportedLogCursor, ReadsColumnsByNameIgnoringCase) {
  ImportedLogCursor cursor(kQsos, "LOG");
  cursor.Open("Select * from LOG");
  EXPECT_EQ(cursor.FieldText("qsoreportrecived"), "599 EU-005");
  EXPECT_EQ(cursor.FieldText("importedqso"), "1");
  EXPECT_EQ(cursor.FieldText("ITUZone"), "");
  EXPECT_EQ(cursor.FieldText("Frequency"), std::nullopt);
}

TEST(ImportedLogCursor, AnswersOnlyTheWholeTable) {
  ImportedLogCursor cursor(kQsos, "LOG");
  for (const char* query : {"Select * from QSOS", "Select CallSign from LOG", ""}) {
    EXPECT_THROW(cursor.Open(query), Failure) << query;
    EXPECT_FALSE(cursor.IsOpen());
  }
}

TEST(ImportedLogCursor, IsWhatThePluginsRecalculationScores) {
  TExchangeRecord current = test::BlankRecord();
  current.TableName.assign("LOG");
  TContest contest(current);
  TLogQuery query("LogQuery", std::make_unique<ImportedLogCursor>(kQsos, "LOG"));
  std::vector<std::int32_t> points;
  Recalculate(contest, query,
              [&](const TExchangeRecord&, std::int32_t scored, const TScoreDetail&) {
                points.push_back(scored);
              });
  // DL1AB, DL1ABC (its first QSO counts), its repeat, OK1XYZ and repeat, the last.
  EXPECT_EQ(points, (std::vector<std::int32_t>{2, 15, -1, 15, -1, 2}));
  EXPECT_EQ(BuildReportText(contest.myStatList),
            "Band\t  QSOs\tPoints\t  ORVA\t\r\n 20M\t     4\t    34\t     1\t\r\n"
            "Total\t     4\t    34\t     1\r\n Score: 34*1=34");
}

}  // namespace
}  // namespace orva::import
