// The recalculation over a fake log cursor: the table-name check, each row
// scored once, and what a missing column leaves behind.
#include "scoring/recalculation.h"

#include <gtest/gtest.h>

#include <utility>

#include "base/failure.h"
#include "base/identifier.h"
#include "tests/fake_log_cursor.h"
#include "tests/names_beyond_ascii.h"
#include "tests/test_support.h"

namespace orva {
namespace {

struct TableNameCase {
  std::string name;
  bool safe;
};

void PrintTo(const TableNameCase& tableName, std::ostream* out) {
  *out << testing::PrintToString(tableName.name);
}

class TableNames : public testing::TestWithParam<TableNameCase> {};

TEST_P(TableNames, OnlyTheNameOfOneTablePasses) {
  EXPECT_EQ(IsSafeTableName(GetParam().name), GetParam().safe) << GetParam().name;
}

// The plain names are those the temporary log creates its table by, bare:
// narrower than the check's, and always let through by it.
TEST(PlainNames, AreBareAsciiNamesTheTableNameCheckPasses) {
  for (const auto& [name, plain] :
       {std::pair{"LOG", true}, std::pair{"Log_2026", true}, std::pair{"_1", true},
        std::pair{"2026", false}, std::pair{"1x", false}, std::pair{"LOG$1", false},
        std::pair{"L\xD6G", false}, std::pair{"", false}, std::pair{"main.LOG", false},
        std::pair{" LOG", false}, std::pair{"[LOG]", false}}) {
    EXPECT_EQ(IsPlainName(name), plain) << name;
    EXPECT_TRUE(!plain || IsSafeTableName(name)) << name;
  }
}

using namespace std::string_literals;

const TableNameCase kTableNames[] = {
    // Names a host's log table may have, bare, quoted and with a schema.
    {"LOG", true},
    {"Log_2026", true},
    {"2026", true},
    {"LOG$1", true},
    {"L\xD6G", true},
    {"\xC4rger", true},
    {" \tLOG \t", true},
    {"\"My Log\"", true},
    {"[LOG-2024]", true},
    {"[My Log]", true},
    {"`my log`", true},
    {"[L\xD6G 2]", true},
    {"\"a\"\"b\"", true},
    {"[a]]b]", true},
    {"`a``b`", true},
    {"\"\"\"\"", true},
    {"\"a.b\"", true},
    {"[LOG; DROP TABLE LOG --]", true},
    {"\"[x]\"", true},
    {"main.LOG", true},
    {"[dbo].[Log]", true},
    {"db.[dbo].\"LOG\"", true},
    {"srv.db.dbo.`LOG`", true},
    {"  [dbo].Log ", true},
    // Texts that would put more than one table name into the query, or none:
    // nothing at all,
    {"", false},
    {" \t ", false},
    // another statement, a clause, a join, an alias, a subquery, a string,
    {"LOG;DROP TABLE LOG", false},
    {"LOG;", false},
    {"LOG WHERE 1", false},
    {"LOG ORDER BY x", false},
    {"LOG, OTHER", false},
    {"LOG,OTHER", false},
    {"LOG x", false},
    {"LOG\"x\"", false},
    {"[a][b]", false},
    {"(LOG)", false},
    {"'LOG'", false},
    // a comment, a zero or other control byte,
    {"LOG--", false},
    {"LOG/*x*/", false},
    {"LOG\0"s, false},
    {"LO\0G"s, false},
    {"LOG\n", false},
    {"\rLOG", false},
    {"\"LO\x01G\"", false},
    {"[LO\tG]", false},
    {"`LO\x7FG`", false},
    // an unterminated or empty quote,
    {"\"LOG", false},
    {"[LOG", false},
    {"`LOG", false},
    {"\"LO\"G\"", false},
    {"[LO]G]", false},
    {"\"\"", false},
    {"[]", false},
    {"``", false},
    // an empty part or blanks around a dot,
    {"main.", false},
    {".LOG", false},
    {"a..b", false},
    {"main . LOG", false},
    {"main .LOG", false},
    {"main. LOG", false},
};

INSTANTIATE_TEST_SUITE_P(Table, TableNames, testing::ValuesIn(kTableNames),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

// A letter beyond ASCII before a closing quote is refused only where the
// host's code page makes it a lead byte, which would swallow the quote.
class NamesBeyondAscii : public testing::TestWithParam<test::NameBeyondAscii> {};

bool NoLeadBytes(char) {
  return false;
}

TEST_P(NamesBeyondAscii, AreRefusedOnlyBeforeALeadByte) {
  EXPECT_TRUE(IsSafeTableName(GetParam().name, NoLeadBytes));
  EXPECT_EQ(IsSafeTableName(GetParam().name, test::IsShiftJisLeadByte),
            GetParam().safeUnderShiftJis);
}

INSTANTIATE_TEST_SUITE_P(Table, NamesBeyondAscii, testing::ValuesIn(test::kNamesBeyondAscii),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

class Recalculation : public testing::Test {
 protected:
  void SetUp() override {
    current.TableName.assign("LOG");
    current.DigiBand.assign("15M");
  }
  void Run() { Recalculate(contest, query); }
  std::string Message() {
    try {
      Run();
    } catch (const Failure& failure) {
      return failure.what();
    }
    return "no failure";
  }

  test::FakeLog log;
  TExchangeRecord current = test::BlankRecord();
  TContest contest{current};
  TLogQuery query{"LogQuery", std::make_unique<test::FakeLogCursor>(log)};
};

TEST_F(Recalculation, EmptyTableGivesEmptyStatistics) {
  contest.ScoreQso(true);
  Run();
  EXPECT_EQ(log.queries.at(0), "Select * from LOG order by CallSign");
  EXPECT_EQ(contest.myQsoList.size(), 0u);
  EXPECT_TRUE(contest.myStatList.empty());
  EXPECT_FALSE(query.IsOpen());
}

TEST_F(Recalculation, ScoresEveryRowOnceAndPutsTheBandBack) {
  log.rows = {test::LogRow("DL1ABC", "20M", "CW", "599 EU-005"),
              test::LogRow("DL1ABC", "20M", "CW", "599 EU-005"),
              test::LogRow("OK1XY", "20M", "CW", ""), test::LogRow("ZZ9Z", "40M", "SSB", "59001")};
  Run();
  ASSERT_EQ(contest.myStatList.size(), 2u);
  EXPECT_EQ(contest.myStatList[0].QSOs, 2);
  EXPECT_EQ(contest.myStatList[0].Points, 17);
  EXPECT_EQ(contest.myStatList[0].Mults, 1);
  EXPECT_EQ(contest.myStatList[1].Mults, 1);
  EXPECT_EQ(current.DigiBand.text(), "15M");
  EXPECT_EQ(current.CallSign.text(), "ZZ9Z");
  EXPECT_EQ(current.Continent.text(), "EU");
  EXPECT_EQ(current.ITUZone.text(), "28");
}

TEST_F(Recalculation, FindsDuplicatesWhateverOrderTheRowsComeIn) {
  // A database that sorts without regard to case.
  log.rows = {test::LogRow("a1a", "20M", "CW", ""), test::LogRow("A1A", "20M", "CW", ""),
              test::LogRow("b1b", "20M", "CW", ""), test::LogRow("a1a", "20M", "CW", "")};
  Run();
  EXPECT_EQ(contest.myStatList.at(0).QSOs, 3);
}

TEST_F(Recalculation, LongValuesAreCutTo255) {
  log.rows = {test::LogRow(std::string(300, 'K'), "20M", "CW", std::string(300, ' ') + "EU-001")};
  Run();
  EXPECT_EQ(current.CallSign.length, 255);
  EXPECT_EQ(contest.myStatList.at(0).Points, 2);  // the reference was cut off
}

TEST_F(Recalculation, MissingColumnStopsAndKeepsTheRowsBefore) {
  log.rows = {test::LogRow("DL1ABC", "20M", "CW", "EU-005"),
              test::LogRow("OK1XY", "20M", "CW", "")};
  log.rows[1].erase("ITUZone");
  EXPECT_EQ(Message(), "LogQuery: Field 'ITUZone' not found");
  EXPECT_EQ(contest.myQsoList.size(), 1u);
  EXPECT_TRUE(query.IsOpen());
  log.rows.pop_back();
  EXPECT_EQ(Message(), "no failure");
  EXPECT_EQ(contest.myQsoList.size(), 1u);
}

TEST_F(Recalculation, FailureToOpenLeavesEmptyLists) {
  contest.ScoreQso(true);
  log.failOpen = true;
  EXPECT_EQ(Message(), "no such table: LOG");
  EXPECT_EQ(contest.myQsoList.size(), 0u);
}

TEST_F(Recalculation, UnsafeTableNameReadsNothing) {
  current.TableName.assign("LOG; DELETE FROM LOG");
  EXPECT_EQ(Message(), "Invalid table name 'LOG; DELETE FROM LOG'");
  EXPECT_TRUE(log.queries.empty());
}

}  // namespace
}  // namespace orva
