// Rebuilding the statistics from a 100,000-row SQLite log, beside a plain
// loop over the SQLite C API that steps the same query and reads the same
// eight columns as text. The gap between the two is what the query object,
// the record fields and the scoring cost on top of the database itself.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "bench/sample_log.h"
#include "platform/native/orva_log.h"
#include "scoring/recalculation.h"

namespace orva {
namespace {

constexpr std::size_t kLogRows = 100000;
constexpr const char* kQuery = "Select * from LOG order by CallSign";
constexpr std::array<const char*, 8> kColumns = {"QSOReportRecived", "DXCCPrefix", "MainPrefix",
                                                 "CallSign",         "DigiBand",   "QSOMode",
                                                 "Continent",        "ITUZone"};

void Check(int status, sqlite3* db) {
  if (status != SQLITE_OK && status != SQLITE_DONE) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
}

void FillLog(sqlite3* db) {
  Check(sqlite3_exec(db,
                     "create table LOG (CallSign text, DigiBand text, QSOMode text, "
                     "QSOReportRecived text, DXCCPrefix text, MainPrefix text, Continent text, "
                     "ITUZone integer); begin",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "insert into LOG values (?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert,
                           nullptr),
        db);
  static const char* const kContinents[] = {"eu", "AS", "sa", "NA", "AF", "OC"};
  int row = 0;
  for (const bench::SampleQso& q : bench::SampleLog(kLogRows)) {
    const std::string prefix = q.call.substr(0, 2);
    sqlite3_bind_text(insert, 1, q.call.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, q.band.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, q.mode.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 4, q.exchange.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 5, prefix.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 6, prefix.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 7, kContinents[row % 6], -1, SQLITE_STATIC);
    sqlite3_bind_int(insert, 8, 1 + row % 75);
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
    ++row;
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "commit", nullptr, nullptr, nullptr), db);
}

// One log file for the whole run, removed when the program ends.
class LargeLog {
 public:
  LargeLog() {
    char pattern[] = "/tmp/orva-recalc-bench-XXXXXX";
    const int fd = mkstemp(pattern);
    if (fd < 0) {
      throw std::runtime_error("cannot create the benchmark log file");
    }
    close(fd);
    path_ = pattern;
    sqlite3* db = nullptr;
    sqlite3_open(path_.c_str(), &db);
    FillLog(db);
    sqlite3_close(db);
  }
  ~LargeLog() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const LargeLog& Log() {
  static const LargeLog log;
  return log;
}

void BM_RecalculateLargeLog(benchmark::State& state) {
  const std::uint32_t handle = orva_log_open(Log().path().c_str());
  TExchangeRecord current{};
  current.Connection = handle;
  current.TableName.assign("LOG");
  TContest contest(current);
  TLogQuery query("LogQuery", platform::BindLogCursor(handle));
  for (auto _ : state) {
    Recalculate(contest, query);
  }
  state.counters["mults"] = static_cast<double>(contest.myMultList.size());
  orva_log_close(handle);
}
BENCHMARK(BM_RecalculateLargeLog)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The connection is opened without SQLite's per-call lock, as the log layer
// opens its own, so that the two differ only in what runs on top of SQLite.
void BM_PlainSqliteLoop(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(Log().path().c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  for (auto _ : state) {
    sqlite3_stmt* select = nullptr;
    Check(sqlite3_prepare_v2(db, kQuery, -1, &select, nullptr), db);
    std::array<int, kColumns.size()> index{};
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
      for (int i = 0; i < sqlite3_column_count(select); ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(select, i), kColumns[c]) == 0) {
          index[c] = i;
        }
      }
    }
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (const int column : index) {
        benchmark::DoNotOptimize(sqlite3_column_text(select, column));
        benchmark::DoNotOptimize(sqlite3_column_bytes(select, column));
      }
    }
    sqlite3_finalize(select);
  }
  sqlite3_close(db);
}
BENCHMARK(BM_PlainSqliteLoop)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
}  // namespace orva

BENCHMARK_MAIN();
