// The native log database: real SQLite files made in a temporary folder,
// opened through the host's calls and read through the window's cursor.
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "platform/database.h"
#include "platform/native/orva_log.h"

namespace orva {
namespace {

namespace fs = std::filesystem;
using platform::LogCursor;

const std::string kMissingConnection = "Missing Connection or ConnectionString";
const char kThreeCalls[] =
    "CREATE TABLE Log(N INTEGER PRIMARY KEY, CallSign TEXT);"
    "INSERT INTO Log(CallSign) VALUES ('DL1ABC'), ('EA3XYZ'), ('OK2QRP');";

void Execute(sqlite3* database, const std::string& sql) {
  ASSERT_EQ(sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
      << sqlite3_errmsg(database);
}

std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "(no failure)";
}

std::string OpenFailure(LogCursor& cursor, const std::string& query) {
  return FailureOf([&] { cursor.Open(query); });
}

// The column of every row of the open query, which it then closes.
std::vector<std::string> ReadRows(LogCursor& cursor, const std::string& name) {
  std::vector<std::string> values;
  for (; !cursor.Eof(); cursor.Next()) {
    values.emplace_back(cursor.FieldText(name).value_or("(missing)"));
  }
  cursor.Close();
  return values;
}

std::vector<std::string> ReadColumn(LogCursor& cursor, const std::string& query,
                                    const std::string& name) {
  cursor.Open(query);
  return ReadRows(cursor, name);
}

std::vector<std::string> ReadCallsInCallsignOrder(LogCursor& cursor) {
  cursor.OpenInCallsignOrder("Select * from Log");
  return ReadRows(cursor, "CallSign");
}

const std::vector<std::string> kThreeCallsRead = {"DL1ABC", "EA3XYZ", "OK2QRP"};
const char kReadCalls[] = "Select * from Log order by CallSign";

class LogDatabase : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orva-log-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }

  void TearDown() override {
    for (const std::uint32_t handle : handles_) {
      orva_log_close(handle);
    }
    fs::remove_all(folder_);
  }

  std::string MakeLog(const std::string& sql, const std::string& name = "log.db") {
    const std::string path = (folder_ / name).string();
    sqlite3* database = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
    Execute(database, sql);
    sqlite3_close(database);
    return path;
  }

  std::uint32_t OpenLog(const std::string& path) {
    const std::uint32_t handle = orva_log_open(path.c_str());
    EXPECT_NE(handle, 0u) << orva_log_last_error();
    handles_.push_back(handle);
    return handle;
  }

  std::unique_ptr<LogCursor> CursorOn(const std::string& sql) {
    return platform::BindLogCursor(OpenLog(MakeLog(sql)));
  }

  fs::path folder_;
  std::vector<std::uint32_t> handles_;
};

struct ValueCase {
  std::string sql;
  std::string text;
};

class ValueText : public LogDatabase, public testing::WithParamInterface<ValueCase> {};

TEST_P(ValueText, ReadsAsText) {
  auto cursor = CursorOn("CREATE TABLE Log(V); INSERT INTO Log VALUES (" + GetParam().sql + ");");
  EXPECT_EQ(ReadColumn(*cursor, "SELECT V FROM Log", "V"), std::vector{GetParam().text});
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueText,
    testing::Values(ValueCase{"'DL1ABC'", "DL1ABC"}, ValueCase{"''", ""}, ValueCase{"NULL", ""},
                    ValueCase{"42", "42"},
                    ValueCase{"-9223372036854775807 - 1", "-9223372036854775808"},
                    ValueCase{"0.1", "0.1"}, ValueCase{"2.0", "2"}, ValueCase{"1e300", "1e+300"},
                    ValueCase{"-1.5e-7", "-1.5e-07"}, ValueCase{"x''", ""},
                    ValueCase{"x'00ff41'", std::string{'\0', '\xff', 'A'}},
                    ValueCase{"'a' || char(0) || 'b'", std::string("a\0b", 3)},
                    ValueCase{"hex(zeroblob(150))", std::string(300, '0')}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(LogDatabase, ReadsEachRowByItsOwnType) {
  auto cursor = CursorOn(
      "CREATE TABLE Log(N INTEGER PRIMARY KEY, V);"
      "INSERT INTO Log(V) VALUES (7), ('seven'), (7.5), (NULL), (x'37'), (8);");
  EXPECT_EQ(ReadColumn(*cursor, "SELECT V FROM Log ORDER BY N", "V"),
            (std::vector<std::string>{"7", "seven", "7.5", "", "7", "8"}));
}

TEST_F(LogDatabase, FindsColumnsByExactNameFirstThenIgnoringCase) {
  auto cursor = CursorOn(kThreeCalls);
  using Rows = std::vector<std::optional<std::string>>;
  const std::vector<std::pair<std::string, Rows>> cases = {
      {"CallSign", {"1", "2"}},   {"callsign", {"10", "20"}}, {"CALLSIGN", {"1", "2"}},
      {"digiband", {"b1", "b2"}}, {"ITUZone", {{}, {}}},      {"", {{}, {}}},
      {"CallSign ", {{}, {}}},    {"CallSig", {{}, {}}}};
  cursor->Open(
      "SELECT N AS CallSign, N * 10 AS callsign, 'b' || N AS DigiBand FROM Log ORDER BY N");
  for (std::size_t row = 0; row < 2; ++row, cursor->Next()) {
    for (const auto& [name, values] : cases) {
      SCOPED_TRACE("row " + std::to_string(row) + ", column '" + name + "'");
      EXPECT_EQ(cursor->FieldText(name), values[row]);
    }
  }
}

TEST_F(LogDatabase, ResolvesColumnNamesAfreshForEachQuery) {
  auto cursor = CursorOn(kThreeCalls);
  cursor->Open("SELECT 1 AS A, 2 AS B");
  EXPECT_EQ(cursor->FieldText("b"), "2");
  EXPECT_EQ(cursor->FieldText("C"), std::nullopt);
  cursor->Open("SELECT 4 AS b, 3 AS C");
  EXPECT_EQ(cursor->FieldText("b"), "4");
  EXPECT_EQ(cursor->FieldText("B"), "4");
  EXPECT_EQ(cursor->FieldText("C"), "3");
}

TEST_F(LogDatabase, ReportsAMissingConnectionForNoUnknownOrClosedHandle) {
  const std::uint32_t closed = OpenLog(MakeLog(kThreeCalls));
  ASSERT_EQ(orva_log_close(closed), 0);
  for (const std::uint32_t handle : {0u, std::numeric_limits<std::uint32_t>::max(), closed}) {
    SCOPED_TRACE(handle);
    auto cursor = platform::BindLogCursor(handle);
    EXPECT_EQ(OpenFailure(*cursor, kReadCalls), kMissingConnection);
    EXPECT_FALSE(cursor->IsOpen());
    EXPECT_TRUE(cursor->Eof());
  }
}

struct QueryFailureCase {
  std::string query;
  std::string message;
};

class QueryFailure : public LogDatabase, public testing::WithParamInterface<QueryFailureCase> {};

TEST_P(QueryFailure, CarriesTheMessageAndLeavesTheCursorReusable) {
  auto cursor = CursorOn(kThreeCalls);
  EXPECT_EQ(OpenFailure(*cursor, GetParam().query), GetParam().message);
  EXPECT_FALSE(cursor->IsOpen());
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign"), kThreeCallsRead);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QueryFailure,
    testing::Values(QueryFailureCase{"Selec * from Log", "near \"Selec\": syntax error"},
                    QueryFailureCase{"Select * from Nope order by CallSign", "no such table: Nope"},
                    QueryFailureCase{"Select abs(-9223372036854775807 - 1) from Log",
                                     "integer overflow"},
                    QueryFailureCase{"", "The query text holds no statement"},
                    QueryFailureCase{" -- nothing", "The query text holds no statement"},
                    QueryFailureCase{"Select * from Log; Delete from Log",
                                     "The query text holds more than one statement"},
                    QueryFailureCase{std::string("Select * from Log\0 order by N desc", 34),
                                     "The query text holds a zero byte"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(LogDatabase, ATableInCallsignOrderFailsAsAnyQuery) {
  auto cursor = CursorOn(std::string("CREATE TABLE NoCalls(N);") + kThreeCalls);
  const auto failure = [](LogCursor& on, const std::string& table) {
    return FailureOf([&] { on.OpenInCallsignOrder("Select * from " + table); });
  };
  EXPECT_EQ(failure(*cursor, "Nope"), "no such table: Nope");
  EXPECT_EQ(failure(*cursor, "NoCalls"), "no such column: CallSign");
  EXPECT_FALSE(cursor->IsOpen());
  EXPECT_EQ(failure(*platform::BindLogCursor(0), "Log"), kMissingConnection);
}

// The host writes its log through a connection of its own, and waits only
// briefly for a lock, as it must not stall its operator.
bool HostCanWrite(const std::string& path) {
  sqlite3* host = nullptr;
  const bool opened = sqlite3_open(path.c_str(), &host) == SQLITE_OK;
  sqlite3_busy_timeout(host, 50);
  const bool written = opened && sqlite3_exec(host, "INSERT INTO Log(CallSign) VALUES ('W1AW')",
                                              nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(host);
  return written;
}

// A failure after opening leaves the query open, as the window's recalculation
// leaves it, but must not keep the host from writing its log meanwhile.
class FailureAfterOpening : public LogDatabase, public testing::WithParamInterface<std::string> {
 protected:
  std::string MakeJournaledLog() {
    return MakeLog("PRAGMA journal_mode = " + GetParam() + ";" + kThreeCalls);
  }
};

TEST_P(FailureAfterOpening, AMissingColumnLetsGoOfTheLogAndKeepsTheRowsAsTheyWere) {
  const std::string path = MakeJournaledLog();
  auto cursor = platform::BindLogCursor(OpenLog(path));
  cursor->Open(kReadCalls);
  EXPECT_EQ(cursor->FieldText("ITUZone"), std::nullopt);
  EXPECT_TRUE(HostCanWrite(path));
  std::vector<std::string> calls;
  for (; !cursor->Eof(); cursor->Next()) {
    calls.emplace_back(cursor->FieldText("CallSign").value_or("(missing)"));
    EXPECT_EQ(cursor->FieldText("N"), std::to_string(calls.size()));
  }
  EXPECT_EQ(calls, kThreeCallsRead);
  EXPECT_TRUE(cursor->IsOpen());
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign").size(), 4u);
}

TEST_P(FailureAfterOpening, AFailingStepEndsTheRowsAndLetsGoOfTheLog) {
  const std::string path = MakeJournaledLog();
  auto cursor = platform::BindLogCursor(OpenLog(path));
  // Whether the rows were still read from the log or already let go of.
  for (const bool missingColumnFirst : {false, true}) {
    SCOPED_TRACE(missingColumnFirst ? "after a missing column" : "reading the log");
    cursor->Open(
        "SELECT abs(CASE WHEN N = 2 THEN -9223372036854775807 - 1 ELSE N END) AS V "
        "FROM Log ORDER BY N");
    if (missingColumnFirst) {
      EXPECT_EQ(cursor->FieldText("ITUZone"), std::nullopt);
    }
    EXPECT_EQ(cursor->FieldText("V"), "1");
    EXPECT_EQ(FailureOf([&] { cursor->Next(); }), "integer overflow");
    EXPECT_TRUE(cursor->IsOpen());
    EXPECT_TRUE(cursor->Eof());
    EXPECT_THROW(cursor->Next(), Failure);
    EXPECT_TRUE(HostCanWrite(path));
  }
  cursor->Close();
  EXPECT_FALSE(cursor->IsOpen());
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign").size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(JournalModes, FailureAfterOpening, testing::Values("DELETE", "WAL"),
                         [](const auto& info) { return info.param; });

struct OrderCase {
  std::string log;  // the statements that make the log
  std::vector<std::string> calls;
};

// The worked-station list needs its rows in byte order of the callsign texts
// the cursor hands out, whatever the column's collation and values' types.
class ByteOrder : public LogDatabase, public testing::WithParamInterface<OrderCase> {};

TEST_P(ByteOrder, OfTheCallSignTexts) {
  auto cursor = CursorOn(GetParam().log);
  EXPECT_EQ(ReadCallsInCallsignOrder(*cursor), GetParam().calls);
}

const char kCaselessLog[] = "CREATE TABLE Log(CallSign COLLATE NOCASE); INSERT INTO Log VALUES ";

INSTANTIATE_TEST_SUITE_P(
    Table, ByteOrder,
    testing::Values(
        OrderCase{std::string(kCaselessLog) + "('a1'), ('B1'), ('b0'), ('A2')",
                  {"A2", "B1", "a1", "b0"}},
        OrderCase{std::string(kCaselessLog) + "(10), (9), (-5), (100), (2.5), (1e20), ('1.5')",
                  {"-5", "1.5", "10", "100", "1e+20", "2.5", "9"}},
        OrderCase{
            std::string(kCaselessLog) + "(NULL), (x'41'), ('B'), (x'E9'), ('Z'), (7), (x''), (2.0)",
            {"", "", "2", "7", "A", "B", "Z", "\xE9"}},
        OrderCase{std::string(kCaselessLog) + "('K1A'), ('K'), ('K1'), ('K' || char(0)), ('K1A ')",
                  {"K", std::string("K\0", 2), "K1", "K1A", "K1A "}},
        OrderCase{"PRAGMA encoding = 'UTF-16le'; CREATE TABLE Log(CallSign TEXT);"
                  "INSERT INTO Log VALUES ('Z'), (char(256)), ('A')",
                  {"A", "Z", "\xC4\x80"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct QueryOrderCase {
  std::string query;
  std::vector<std::string> calls;
};

// Only a table opened in callsign order is ordered by its bytes; every query
// text runs as SQLite runs it, its own ordering by CallSign too.
class MixedCalls : public LogDatabase {
 protected:
  void SetUp() override {
    LogDatabase::SetUp();
    cursor_ = CursorOn(
        "CREATE TABLE Log(N INTEGER PRIMARY KEY, CallSign COLLATE NOCASE);"
        "INSERT INTO Log(CallSign) VALUES ('b'), (9), ('A'), (10);");
  }

  std::unique_ptr<LogCursor> cursor_;
};

TEST_F(MixedCalls, OpenedInCallsignOrderComeInTheOrderOfTheirTexts) {
  EXPECT_EQ(ReadCallsInCallsignOrder(*cursor_), (std::vector<std::string>{"10", "9", "A", "b"}));
}

class QueryOrder : public MixedCalls, public testing::WithParamInterface<QueryOrderCase> {};

TEST_P(QueryOrder, FollowsTheTextsEnding) {
  EXPECT_EQ(ReadColumn(*cursor_, GetParam().query, "CallSign"), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Table, QueryOrder,
    testing::Values(
        QueryOrderCase{"Select * from Log order by CallSign", {"9", "10", "A", "b"}},
        QueryOrderCase{"select CallSign from [Log]ORDER\tBY\ncallsign \r\n", {"9", "10", "A", "b"}},
        QueryOrderCase{"Select * from Log order by CallSign desc", {"b", "A", "10", "9"}},
        QueryOrderCase{"Select * from Log order by N", {"b", "9", "A", "10"}},
        QueryOrderCase{"Select * from Log -- order by CallSign", {"b", "9", "A", "10"}},
        QueryOrderCase{"Select CallSign from Log union all select 'c' order by CallSign",
                       {"9", "10", "A", "b", "c"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(LogDatabase, MisuseOfACursorWithoutARowIsAFailure) {
  auto cursor = CursorOn(kThreeCalls);
  cursor->Close();
  EXPECT_THROW(cursor->FieldText("CallSign"), Failure);
  cursor->Open("Select * from Log where N > 3");
  EXPECT_TRUE(cursor->IsOpen());
  EXPECT_TRUE(cursor->Eof());
  EXPECT_THROW(cursor->Next(), Failure);
  EXPECT_THROW(cursor->FieldText("CallSign"), Failure);
  cursor->Close();
  cursor->Close();
  EXPECT_FALSE(cursor->IsOpen());
}

TEST_F(LogDatabase, ALockedLogFailsWithTheDatabaseTextUntilTheLockIsGone) {
  const std::string path = MakeLog(kThreeCalls);
  auto cursor = platform::BindLogCursor(OpenLog(path));
  sqlite3* writer = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &writer), SQLITE_OK);
  Execute(writer, "BEGIN EXCLUSIVE");
  EXPECT_EQ(OpenFailure(*cursor, kReadCalls), "database is locked");
  Execute(writer, "COMMIT");
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign"), kThreeCallsRead);

  // A writer that finishes quickly is waited for rather than reported.
  Execute(writer, "BEGIN EXCLUSIVE");
  std::thread release([writer] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Execute(writer, "COMMIT");
  });
  EXPECT_EQ(OpenFailure(*cursor, kReadCalls), "(no failure)");
  release.join();
  sqlite3_close(writer);
}

TEST_F(LogDatabase, AnOpenQueryOutlivesTheClosingOfItsHandle) {
  const std::uint32_t handle = OpenLog(MakeLog(kThreeCalls));
  auto cursor = platform::BindLogCursor(handle);
  cursor->Open(kReadCalls);
  ASSERT_EQ(orva_log_close(handle), 0);
  std::vector<std::string> calls;
  for (; !cursor->Eof(); cursor->Next()) {
    calls.emplace_back(cursor->FieldText("CallSign").value_or("(missing)"));
  }
  EXPECT_EQ(calls, kThreeCallsRead);
  EXPECT_EQ(OpenFailure(*cursor, kReadCalls), kMissingConnection);
}

TEST_F(LogDatabase, HandlesAreNeverZeroNorIssuedTwice) {
  const std::string path = MakeLog(kThreeCalls);
  const std::uint32_t first = OpenLog(path);
  const std::uint32_t second = OpenLog(path);
  EXPECT_NE(first, second);
  EXPECT_EQ(orva_log_close(first), 0);
  EXPECT_NE(orva_log_close(first), 0);
  EXPECT_EQ(std::string(orva_log_last_error()),
            "No open log has the handle " + std::to_string(first));
  const std::uint32_t third = OpenLog(path);
  EXPECT_NE(third, first);
  EXPECT_NE(third, second);
}

TEST_F(LogDatabase, OpeningSomethingThatIsNoLogFailsWithTheReason) {
  const std::string missing = (folder_ / "missing.db").string();
  const std::string garbage = (folder_ / "garbage.db").string();
  std::ofstream(garbage) << std::string(4096, 'x');
  const std::string folder = folder_.string();
  const std::vector<std::pair<const char*, std::string>> cases = {
      {missing.c_str(), "Cannot open log database '" + missing + "': unable to open database file"},
      {folder.c_str(), "Cannot open log database '" + folder + "': unable to open database file"},
      {garbage.c_str(), "Cannot open log database '" + garbage + "': file is not a database"},
      {"", "No log database file name given"},
      {nullptr, "No log database file name given"}};
  for (const auto& [path, error] : cases) {
    SCOPED_TRACE(error);
    EXPECT_EQ(orva_log_open(path), 0u);
    EXPECT_EQ(std::string(orva_log_last_error()), error);
  }
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(LogDatabase, ALogOverwrittenWithGarbageFailsWithTheDatabaseText) {
  const std::string path = MakeLog(kThreeCalls);
  auto cursor = platform::BindLogCursor(OpenLog(path));
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign"), kThreeCallsRead);
  std::ofstream(path, std::ios::binary | std::ios::in) << std::string(100, 'x');
  EXPECT_EQ(OpenFailure(*cursor, kReadCalls), "file is not a database");
}

TEST_F(LogDatabase, ALogDeletedWhileOpenStaysReadableButCannotBeOpenedAgain) {
  const std::string path = MakeLog(kThreeCalls);
  auto cursor = platform::BindLogCursor(OpenLog(path));
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign"), kThreeCallsRead);
  fs::remove(path);
  EXPECT_EQ(ReadColumn(*cursor, kReadCalls, "CallSign"), kThreeCallsRead);
  EXPECT_EQ(orva_log_open(path.c_str()), 0u);
  EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace orva
