// The temporary log database of an imported file. The file is private to
// this process and thrown away at exit, so it is written without a journal
// and without waiting for the disk: a crash can only cost a file nobody
// reads again, and a 100,000-QSO log is written in a fraction of a second.
#include "import/temporary_log_database.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>

#include "base/failure.h"
#include "base/identifier.h"

namespace orva::import {
namespace {

using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

void Check(sqlite3* database, int result, int expected = SQLITE_OK) {
  if (result != expected) {
    throw Failure(std::string("cannot write the imported log: ") + sqlite3_errmsg(database));
  }
}

void Execute(sqlite3* database, const std::string& sql) {
  Check(database, sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr));
}

void BindText(sqlite3* database, sqlite3_stmt* insert, int column, const std::string& text) {
  // The QSO outlives the step, so SQLite need not copy the text.
  Check(database,
        sqlite3_bind_text64(insert, column, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8));
}

// The plug-in's columns, then the QSO's number in the list the table was
// given. As the table's INTEGER PRIMARY KEY it is the row id itself, and
// costs the database no bytes.
std::string CreateTable(const std::string& table) {
  std::string sql = "CREATE TABLE " + table + " (";
  for (const QsoColumn& column : kQsoColumns) {
    sql += column.name + std::string(" TEXT, ");
  }
  return sql + kImportedQsoColumn + " INTEGER PRIMARY KEY)";
}

std::string InsertRow(const std::string& table) {
  std::string sql = "INSERT INTO " + table + " VALUES (";
  for (std::size_t column = 0; column < std::size(kQsoColumns); ++column) {
    sql += "?, ";
  }
  return sql + "?)";
}

void FillTable(const std::string& path, const std::vector<ImportedQso>& qsos,
               const std::string& table) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  const Database database(raw, sqlite3_close);
  if (!raw) {
    throw Failure(std::string("cannot write the imported log: ") + sqlite3_errstr(opened));
  }
  Check(raw, opened);
  Execute(raw, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;");
  Execute(raw, CreateTable(table));
  sqlite3_stmt* rawInsert = nullptr;
  Check(raw, sqlite3_prepare_v2(raw, InsertRow(table).c_str(), -1, &rawInsert, nullptr));
  const Statement insert(rawInsert, sqlite3_finalize);
  sqlite3_int64 number = 0;
  for (const ImportedQso& qso : qsos) {
    int column = 0;
    for (const QsoColumn& tableColumn : kQsoColumns) {
      BindText(raw, rawInsert, ++column, qso.*tableColumn.text);
    }
    Check(raw, sqlite3_bind_int64(rawInsert, ++column, ++number));
    Check(raw, sqlite3_step(rawInsert), SQLITE_DONE);
    Check(raw, sqlite3_reset(rawInsert));
  }
  Execute(raw, "COMMIT");
}

std::string NewTemporaryFile() {
  std::string path = (std::filesystem::temp_directory_path() / "orva-import-XXXXXX").string();
  const int file = mkstemp(path.data());
  if (file < 0) {
    throw Failure("cannot make a temporary log file: " + std::string(std::strerror(errno)));
  }
  close(file);
  return path;
}

}  // namespace

TemporaryLogDatabase::TemporaryLogDatabase(const std::vector<ImportedQso>& qsos,
                                           const std::string& table) {
  // The table is created by the very name the plug-in's query will hold.
  if (!IsPlainName(table)) {
    throw Failure("the table name " + Quoted(table) +
                  " is not a plain name (letters, digits, underscores)");
  }
  path_ = NewTemporaryFile();
  try {
    FillTable(path_, qsos, table);
  } catch (...) {
    std::remove(path_.c_str());
    throw;
  }
}

TemporaryLogDatabase::~TemporaryLogDatabase() {
  std::remove(path_.c_str());
}

}  // namespace orva::import
