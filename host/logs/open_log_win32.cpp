// A log open in orva-host.exe: another program's file, its QSOs held in
// memory and read through the import's own cursor, with where each came
// from. No SQLite library is built for Windows, and the tools need none:
// the scoring code reads the rows as it would read them from a log table.
#include "host/logs/open_log.h"
#include "host/logs/sqlite_logs.h"
#include "host/system/console.h"
#include "host/system/host_failure.h"
#include "import/imported_log_cursor.h"

namespace orva::host {

struct OpenLog::RowSource {
  std::vector<import::ImportedQso> qsos;
  std::string table;
};

bool ReadsSqliteLogs() {
  return false;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete) {
  if (source.format == LogSpec::Format::kSqlite) {
    throw HostFailure(NameOfFile(source.path) + " is an SQLite log, " + kSqliteLogsElsewhere);
  }
  LeftOut leftOut;
  import::ImportedLog log = ImportFile(source, settings, complete, &leftOut);
  return OfImported(NameOfFile(source.path), std::move(log.qsos), settings.table, leftOut);
}

std::unique_ptr<OpenLog> OpenLog::OfImported(std::string name,
                                             std::vector<import::ImportedQso> qsos,
                                             const std::string& table, const LeftOut& omissions) {
  import::PutInTimeOrder(qsos);
  std::vector<QsoOrigin> origins = OriginsOf(qsos);
  return std::unique_ptr<OpenLog>(
      new OpenLog({std::move(name), true, omissions, std::move(origins)},
                  std::make_unique<RowSource>(std::move(qsos), table)));
}

OpenLog::OpenLog(Facts facts, std::unique_ptr<RowSource> rows)
    : facts_(std::move(facts)), rows_(std::move(rows)) {}

OpenLog::~OpenLog() = default;

std::unique_ptr<platform::LogCursor> OpenLog::Rows() const {
  return std::make_unique<import::ImportedLogCursor>(rows_->qsos, rows_->table);
}

std::uint32_t OpenLog::Connection() const {
  return 0;
}

}  // namespace orva::host
