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

struct OpenLog::Held {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  import::Origins origins;
  std::uint32_t connection;

  ~Held() { orva_log_close(connection); }
};

bool ReadsSqliteLogs() {
  return true;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete, import::Origins origins) {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::string database = source.path;
  LeftOut leftOut;
  if (source.format == LogSpec::Format::kSqlite && settings.period.Limited()) {
    WriteText(stderr,
              "orva-host: " + NameOfFile(source.path) +
                  ": an SQLite log gives no times: the contest period keeps all its QSOs\n");
  }
  if (source.format != LogSpec::Format::kSqlite) {
    import::ImportedLog log = ImportFile(source, settings, complete, &leftOut);
    import::PutInTimeOrder(log.qsos);
    try {
      imported = std::make_unique<import::TemporaryLogDatabase>(log.qsos, settings.table, origins);
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
  return std::unique_ptr<OpenLog>(new OpenLog(
      source, leftOut, std::make_unique<Held>(std::move(imported), origins, connection)));
}

OpenLog::OpenLog(const LogSpec& source, const LeftOut& leftOut, std::unique_ptr<Held> held)
    : name_(NameOfFile(source.path)),
      source_(source.format),
      leftOut_(leftOut),
      held_(std::move(held)) {}

OpenLog::~OpenLog() = default;

std::unique_ptr<platform::LogCursor> OpenLog::Rows() const {
  return platform::BindLogCursor(held_->connection);
}

std::uint32_t OpenLog::Connection() const {
  return held_->connection;
}

bool OpenLog::KeepsOrigins() const {
  return held_->imported && held_->origins == import::Origins::kKept;
}

}  // namespace orva::host
