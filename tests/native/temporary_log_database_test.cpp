// The temporary log database of an imported file: every byte of every column
// the plug-in reads arrives as text, beside where each QSO came from, in a
// file that is gone again with its owner.
#include "import/temporary_log_database.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace orva::import {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Every row of the table as its columns' texts joined by '|', with the type
// SQLite stored each value as.
std::vector<std::string> Rows(const std::string& path, const std::string& table) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> database(raw, sqlite3_close);
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(raw, ("SELECT * FROM " + table).c_str(), -1, &statement, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(raw);
  std::vector<std::string> rows;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      row.append(column ? "|" : "").append(sqlite3_column_name(statement, column)).append("=");
      row.append(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
      row.append(sqlite3_column_type(statement, column) == SQLITE_TEXT ? "" : "(not text)");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  return rows;
}

TEST(TemporaryLogDatabase, HoldsTheQsosAsTextEachNumberedUntilItGoes) {
  std::string path;
  {
    const TemporaryLogDatabase database(
        {{"DL1ABC", "20M", "CW", "599 EU-005", "", "DL", "eu", "28", 3, {}},
         {"W1AW", "20M", "SSB", "59 \0\xFF'\"x"s, "K", "W", "NA", "8", 1, {}}},
        "QSOs_2");
    path = database.Path();
    EXPECT_EQ(fs::path(path).parent_path(), fs::temp_directory_path());
    EXPECT_EQ(Rows(path, "QSOs_2"),
              std::vector<std::string>(
                  {"CallSign=DL1ABC|DigiBand=20M|QSOMode=CW|QSOReportRecived=599 EU-005|"
                   "DXCCPrefix=|MainPrefix=DL|Continent=eu|ITUZone=28|"
                   "ImportedQso=1(not text)",
                   "CallSign=W1AW|DigiBand=20M|QSOMode=SSB|QSOReportRecived=59 \0\xFF'\"x|"
                   "DXCCPrefix=K|MainPrefix=W|Continent=NA|ITUZone=8|"
                   "ImportedQso=2(not text)"s}));
  }
  EXPECT_FALSE(fs::exists(path));
}

TEST(TemporaryLogDatabase, RefusesTableNamesTheQueryCouldNotHold) {
  for (const char* name : {"", "1LOG", "LOG x", "LOG;", "\"LOG\"", "L\xC3\xB6G"}) {
    EXPECT_THROW(TemporaryLogDatabase({}, name), std::runtime_error) << name;
  }
  EXPECT_NO_THROW(TemporaryLogDatabase({}, "_log9"));
}

}  // namespace
}  // namespace orva::import
