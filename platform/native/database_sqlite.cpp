// The log database on the native build: SQLite files that a host opens
// through orva_log.h, the table of open connections that host and plug-in
// share, and the window's log cursor over them.
//
// The cursor is the hot path of a recalculation (eight columns of every row of
// a log of up to 100,000 QSOs), so it resolves a column name once per query
// and hands out values where SQLite holds them, without copies.
//
// What the cursor guarantees beyond SQLite's own behaviour:
// - A table opened in callsign order delivers its rows in ascending byte
//   order of the texts the cursor hands out for that column, whatever the
//   column's collation and its values' types, so that a log scores and
//   explains alike on every SQLite file that holds it. Every query text runs
//   as written.
// - A query holds the log's read lock only while it delivers rows from the
//   log. A failure after opening (a failing step, a failing column read) ends
//   its rows and lets go of the lock, and a column it lacks makes it take its
//   remaining rows into memory and let go: in both cases it stays open until
//   it is closed or opened again, as the recalculation leaves it, and the
//   host can write its log meanwhile.
#include <sqlite3.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/failure.h"
#include "base/text.h"
#include "platform/database.h"
#include "platform/native/orva_log.h"

namespace orva::platform {
namespace {

const char kMissingConnection[] = "Missing Connection or ConnectionString";

// The plug-in reads the log on the host's UI thread, so a lock held by another
// writer must not freeze the window for long. A host commits one QSO in a few
// milliseconds; half a second outlasts such writes by far and still fails a
// long-held lock quickly. A cursor waits for at most two locks per query (a
// schema that changed since the last query is read again before the rows), so
// the UI waits about one second at worst.
constexpr int kBusyTimeoutMilliseconds = 500;

using Connection = std::shared_ptr<sqlite3>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Open connections by handle. A cursor shares ownership of its connection
// while it is open, so closing a handle never pulls the database from under a
// running query.
class ConnectionTable {
 public:
  std::uint32_t Add(Connection connection) {
    std::lock_guard lock(mutex_);
    if (lastIssued_ == std::numeric_limits<std::uint32_t>::max()) {
      throw Failure("No log handles are left in this process");
    }
    open_.emplace(++lastIssued_, std::move(connection));
    return lastIssued_;
  }

  bool Remove(std::uint32_t handle) {
    std::lock_guard lock(mutex_);
    return open_.erase(handle) > 0;
  }

  Connection Find(std::uint32_t handle) const {
    std::lock_guard lock(mutex_);
    const auto found = open_.find(handle);
    return found == open_.end() ? nullptr : found->second;
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::uint32_t, Connection> open_;
  std::uint32_t lastIssued_ = 0;
};

ConnectionTable& Connections() {
  static ConnectionTable table;
  return table;
}

std::string& LastError() {
  thread_local std::string text;
  return text;
}

void RememberFailure(const char* message) noexcept {
  try {
    LastError() = message;
  } catch (...) {
    LastError().clear();
  }
}

// Room for any 64-bit integer and the shortest form of any double.
using NumberDigits = std::array<char, 32>;

template <typename Number>
std::string_view NumberText(Number value, NumberDigits& digits) {
  const auto converted = std::to_chars(digits.data(), digits.data() + digits.size(), value);
  return std::string_view(digits.data(), static_cast<std::size_t>(converted.ptr - digits.data()));
}

// Text and blobs are viewed where SQLite holds them for the current row;
// numbers are written into `digits`.
std::string_view ValueText(sqlite3_value* value, NumberDigits& digits) {
  const auto bytesAt = [value](const void* bytes) {
    return bytes ? std::string_view(static_cast<const char*>(bytes),
                                    static_cast<std::size_t>(sqlite3_value_bytes(value)))
                 : std::string_view();
  };
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return NumberText(sqlite3_value_int64(value), digits);
    case SQLITE_FLOAT:
      return NumberText(sqlite3_value_double(value), digits);
    case SQLITE_TEXT:
      return bytesAt(sqlite3_value_text(value));
    default:
      return bytesAt(sqlite3_value_blob(value));
  }
}

// The SQL function that orders rows by the cursor's texts: its argument's
// text as the cursor hands it out. Built on ValueText itself, so that numbers
// sort by exactly the digits the cursor gives for them (SQLite's own text of
// a real differs: "2.0" where the cursor reads "2"). A function's result has
// no collation of its own, so texts compare byte for byte. In a UTF-8
// database the result is text, which SQLite's sorter compares fastest; a
// UTF-16 database would convert a text result and compare it as UTF-16, so
// there it is a blob, which is compared as it stands.
const char kTextBytes[] = "orva_text_bytes";

template <bool kAsText>
void TextBytes(sqlite3_context* context, int, sqlite3_value** arguments) {
  NumberDigits digits;
  const std::string_view text = ValueText(arguments[0], digits);
  // A null pointer would make the result NULL rather than empty.
  const char* bytes = text.empty() ? "" : text.data();
  const int size = static_cast<int>(text.size());
  if constexpr (kAsText) {
    sqlite3_result_text(context, bytes, size, SQLITE_TRANSIENT);
  } else {
    sqlite3_result_blob(context, bytes, size, SQLITE_TRANSIENT);
  }
}

// SQLite calls the form registered for the database's own encoding.
bool AddTextBytes(sqlite3* database) {
  constexpr int kPure = SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  return sqlite3_create_function_v2(database, kTextBytes, 1, SQLITE_UTF8 | kPure, nullptr,
                                    TextBytes<true>, nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_create_function_v2(database, kTextBytes, 1, SQLITE_UTF16 | kPure, nullptr,
                                    TextBytes<false>, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Connection OpenLogFile(const char* path) {
  if (path == nullptr || *path == '\0') {
    // SQLite would open a private temporary database for an empty name.
    throw Failure("No log database file name given");
  }
  sqlite3* raw = nullptr;
  // Only the plug-in reads through a connection, and only from the thread
  // that calls its exports, one call at a time. SQLite's lock around every
  // call would cost a tenth of a recalculation, and without it the values of
  // the current row may be read straight from the statement.
  const int result =
      sqlite3_open_v2(path, &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  Connection database(raw, sqlite3_close_v2);
  const auto fail = [&] {
    const char* reason = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(result);
    throw Failure("Cannot open log database '" + std::string(path) + "': " + reason);
  };
  if (result != SQLITE_OK) {
    fail();
  }
  sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
  if (!AddTextBytes(raw)) {
    fail();
  }
  // SQLite only looks at the file when it is first read; reading the schema
  // now tells the host at once when the file is no database.
  if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    fail();
  }
  return database;
}

Statement Prepare(sqlite3* database, const std::string& queryText) {
  // SQLite ends a query text at its first zero byte and would quietly drop the
  // rest, such as a clause that narrows or orders the rows.
  if (queryText.find('\0') != std::string::npos) {
    throw Failure("The query text holds a zero byte");
  }
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int result = sqlite3_prepare_v2(database, queryText.c_str(), -1, &raw, &tail);
  Statement statement(raw);
  if (result != SQLITE_OK) {
    throw Failure(sqlite3_errmsg(database));
  }
  if (!statement) {
    throw Failure("The query text holds no statement");
  }
  // SQLite would silently run only the first statement of several.
  sqlite3_stmt* rawNext = nullptr;
  const int nextResult = sqlite3_prepare_v2(database, tail, -1, &rawNext, nullptr);
  const Statement next(rawNext);
  if (nextResult != SQLITE_OK || next) {
    throw Failure("The query text holds more than one statement");
  }
  return statement;
}

// The rows a query still had when it let go of the log, as the texts the
// cursor hands out, row after row.
class HeldRows {
 public:
  bool IsHolding() const { return holding_; }

  // Copies the statement's current row and every row after it, with the
  // failure that ended them early, and resets the statement, which lets go
  // of the log.
  void Take(sqlite3_stmt* statement, sqlite3* database) {
    holding_ = true;
    columns_ = static_cast<std::size_t>(sqlite3_column_count(statement));
    NumberDigits digits;
    int result = SQLITE_ROW;
    for (; result == SQLITE_ROW; result = sqlite3_step(statement)) {
      for (std::size_t column = 0; column < columns_; ++column) {
        bytes_ += ValueText(sqlite3_column_value(statement, static_cast<int>(column)), digits);
        ends_.push_back(bytes_.size());
      }
    }
    if (result != SQLITE_DONE) {
      failure_ = sqlite3_errmsg(database);
    }
    sqlite3_reset(statement);
  }

  std::string_view Text(int column) const {
    const std::size_t cell = row_ * columns_ + static_cast<std::size_t>(column);
    const std::size_t start = cell == 0 ? 0 : ends_[cell - 1];
    return std::string_view(bytes_).substr(start, ends_[cell] - start);
  }

  // False after the last row; raises the failure that ended the rows there.
  bool Next() {
    if (++row_ * columns_ < ends_.size()) {
      return true;
    }
    if (failure_) {
      throw Failure(*failure_);
    }
    return false;
  }

  void Clear() { *this = HeldRows(); }

 private:
  bool holding_ = false;
  std::size_t columns_ = 0;
  std::string bytes_;
  std::vector<std::size_t> ends_;  // where each value's bytes end in bytes_
  std::size_t row_ = 0;
  std::optional<std::string> failure_;
};

class SqliteLogCursor final : public LogCursor {
 public:
  explicit SqliteLogCursor(std::uint32_t connection) : handle_(connection) {}

  void Close() override {
    held_.Clear();
    statement_.reset();
    database_.reset();
    hasRow_ = false;
    asked_.clear();
    nextAsked_ = 0;
  }

  // A failure here is one of opening: the cursor is left closed.
  void Open(const std::string& queryText) override {
    Close();
    Connection database = Connections().Find(handle_);
    if (!database) {
      throw Failure(kMissingConnection);
    }
    statement_ = Prepare(database.get(), queryText);
    database_ = std::move(database);
    try {
      Step();
    } catch (...) {
      Close();
      throw;
    }
  }

  void OpenInCallsignOrder(const std::string& tableQuery) override {
    Open(tableQuery + " order by " + kTextBytes + "(CallSign)");
  }

  bool IsOpen() const override { return statement_ != nullptr; }
  bool Eof() const override { return !hasRow_; }

  void Next() override {
    if (!hasRow_) {
      throw Failure("The query has no current row to step from");
    }
    if (!held_.IsHolding()) {
      Step();
      return;
    }
    hasRow_ = false;
    hasRow_ = held_.Next();
  }

  std::optional<std::string_view> FieldText(const std::string& name) override {
    if (!hasRow_) {
      throw Failure("The query has no current row to read '" + name + "' from");
    }
    try {
      const int column = ColumnIndex(name);
      if (column < 0) {
        // The caller is likely to give up on the query now and leave it open
        // while it reports the failure.
        LetGoOfTheLog();
        return std::nullopt;
      }
      if (held_.IsHolding()) {
        return held_.Text(column);
      }
      return ValueText(sqlite3_column_value(statement_.get(), column), digits_);
    } catch (...) {
      EndRows();
      throw;
    }
  }

 private:
  void LetGoOfTheLog() {
    if (!held_.IsHolding()) {
      held_.Take(statement_.get(), database_.get());
    }
  }

  // Resetting the statement lets go of the log, and with no current row it
  // is never stepped again, which would silently restart it from its first
  // row.
  void EndRows() {
    hasRow_ = false;
    held_.Clear();
    sqlite3_reset(statement_.get());
  }

  // Callers ask for the same names in the same order on every row, so the
  // name after the one asked last is tried first: one comparison per field.
  int ColumnIndex(const std::string& name) {
    std::size_t i = nextAsked_;
    for (std::size_t tried = 0; tried < asked_.size(); ++tried, ++i) {
      if (i == asked_.size()) {
        i = 0;
      }
      if (asked_[i].name == name) {
        nextAsked_ = i + 1;
        return asked_[i].column;
      }
    }
    asked_.push_back({name, ResolveColumn(name)});
    nextAsked_ = asked_.size();
    return asked_.back().column;
  }

  // The first column of exactly this name, else the first ignoring case.
  int ResolveColumn(const std::string& name) const {
    const int count = sqlite3_column_count(statement_.get());
    for (const bool exact : {true, false}) {
      for (int column = 0; column < count; ++column) {
        const char* columnName = sqlite3_column_name(statement_.get(), column);
        if (columnName && (exact ? name == columnName : EqualIgnoringAsciiCase(columnName, name))) {
          return column;
        }
      }
    }
    return -1;
  }

  void Step() {
    switch (sqlite3_step(statement_.get())) {
      case SQLITE_ROW:
        hasRow_ = true;
        return;
      case SQLITE_DONE:
        hasRow_ = false;
        return;
      default: {
        std::string message = sqlite3_errmsg(database_.get());
        EndRows();
        throw Failure(message);
      }
    }
  }

  std::uint32_t handle_;
  Connection database_;  // declared before the statement, which goes first
  Statement statement_;
  bool hasRow_ = false;
  HeldRows held_;
  struct AskedColumn {
    std::string name;
    int column;  // -1 when the query has no such column
  };
  std::vector<AskedColumn> asked_;  // in the order first asked
  std::size_t nextAsked_ = 0;
  NumberDigits digits_;
};

}  // namespace

std::unique_ptr<LogCursor> BindLogCursor(std::uint32_t connection) {
  // Handles are checked when a query is opened: the host may close one
  // while the window that was bound to it lives on.
  return std::make_unique<SqliteLogCursor>(connection);
}

}  // namespace orva::platform

extern "C" uint32_t orva_log_open(const char* path) {
  using namespace orva::platform;
  try {
    return Connections().Add(OpenLogFile(path));
  } catch (const std::exception& failure) {
    RememberFailure(failure.what());
  } catch (...) {
    RememberFailure("Cannot open log database");
  }
  return 0;
}

extern "C" int orva_log_close(uint32_t handle) {
  using namespace orva::platform;
  try {
    if (Connections().Remove(handle)) {
      return 0;
    }
    RememberFailure(("No open log has the handle " + std::to_string(handle)).c_str());
  } catch (...) {
    RememberFailure("Cannot close log database");
  }
  return 1;
}

extern "C" const char* orva_log_last_error(void) {
  return orva::platform::LastError().c_str();
}
