// A log open on the native build: an SQLite log through the native platform
// layer's handle, or another program's file written to a temporary SQLite
// log first, so that the plug-in the host loads reads it like a logging
// program's own log.
#include <cstdio>
#include <exception>
#include <optional>

#include "host/logs/open_log.h"
#include "host/logs/sqlite_logs.h"
#include "host/system/console.h"
#include "host/system/host_failure.h"
#include "import/temporary_log_database.h"
#include "platform/native/file_read.h"
#include "platform/native/orva_log.h"

namespace orva::host {

struct OpenLog::RowSource {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::uint32_t connection;

  ~RowSource() { orva_log_close(connection); }
};

bool ReadsSqliteLogs() {
  return true;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete) {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::string database = source.path;
  LeftOut leftOut;
  std::vector<QsoOrigin> origins;
  if (source.format == LogSpec::Format::kSqlite && settings.period.Limited()) {
    WriteText(stderr,
              "orva-host: " + NameOfFile(source.path) +
                  ": an SQLite log gives no times: the contest period keeps all its QSOs\n");
  }
  if (source.format != LogSpec::Format::kSqlite) {
    import::ImportedLog log = ImportFile(source, settings, complete, &leftOut);
    import::PutInTimeOrder(log.qsos);
    origins = OriginsOf(log.qsos);
    try {
      imported = std::make_unique<import::TemporaryLogDatabase>(log.qsos, settings.table);
    } catch (const std::exception& failure) {
      throw HostFailure("cannot import " + NameOfFile(source.path) + ": " + failure.what());
    }
    database = imported->Path();
  }
  std::string head;
  // SQLite would take an empty file for a new database, without a log table.
  if (!imported && platform::ReadFileHead(database, head, import::kFormatHeadSize) == 0 &&
      IsEmptyFile(head)) {
    throw HostFailure(NameOfFile(source.path) + " is empty", kIncomplete);
  }
  const std::uint32_t connection = orva_log_open(database.c_str());
  if (connection == 0) {
    const std::optional<std::string> hint =
        platform::ReadFileHead(database, head, import::kFormatHeadSize) == 0
            ? OtherKindHint(source, head)
            : std::nullopt;
    const std::string name = imported ? database : NameOfFile(source.path);
    throw HostFailure(hint ? *hint : "cannot open log " + name + ": " + orva_log_last_error());
  }
  return std::unique_ptr<OpenLog>(
      new OpenLog(source, leftOut, std::move(origins),
                  std::make_unique<RowSource>(std::move(imported), connection)));
}

OpenLog::OpenLog(const LogSpec& source, const LeftOut& omissions, std::vector<QsoOrigin> origins,
                 std::unique_ptr<RowSource> rows)
    : name_(NameOfFile(source.path)),
      source_(source.format),
      omissions_(omissions),
      origins_(std::move(origins)),
      rows_(std::move(rows)) {}

OpenLog::~OpenLog() = default;

std::unique_ptr<platform::LogCursor> OpenLog::Rows() const {
  return platform::BindLogCursor(rows_->connection);
}

std::uint32_t OpenLog::Connection() const {
  return rows_->connection;
}

}  // namespace orva::host
