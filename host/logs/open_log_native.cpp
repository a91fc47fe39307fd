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
  const std::string name = NameOfFile(source.path);
  if (source.format != LogSpec::Format::kSqlite) {
    LeftOut leftOut;
    import::ImportedLog log = ImportFile(source, settings, complete, &leftOut);
    return OfImported(name, std::move(log.qsos), settings.table, leftOut);
  }
  if (settings.period.Limited()) {
    WriteText(stderr,
              "orva-host: " + name +
                  ": an SQLite log gives no times: the contest period keeps all its QSOs\n");
  }
  std::string head;
  // SQLite would take an empty file for a new database, without a log table.
  if (platform::ReadFileHead(source.path, head, import::kFormatHeadSize) == 0 &&
      IsEmptyFile(head)) {
    throw HostFailure(name + " is empty", kIncomplete);
  }
  const std::uint32_t connection = orva_log_open(source.path.c_str());
  if (connection == 0) {
    const std::optional<std::string> hint =
        platform::ReadFileHead(source.path, head, import::kFormatHeadSize) == 0
            ? OtherKindHint(source, head)
            : std::nullopt;
    throw HostFailure(hint ? *hint : "cannot open log " + name + ": " + orva_log_last_error());
  }
  return std::unique_ptr<OpenLog>(
      new OpenLog({name, false, {}, {}}, std::make_unique<RowSource>(nullptr, connection)));
}

std::unique_ptr<OpenLog> OpenLog::OfImported(std::string name,
                                             std::vector<import::ImportedQso> qsos,
                                             const std::string& table, const LeftOut& omissions) {
  import::PutInTimeOrder(qsos);
  std::vector<QsoOrigin> origins = OriginsOf(qsos);
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  try {
    imported = std::make_unique<import::TemporaryLogDatabase>(qsos, table);
  } catch (const std::exception& failure) {
    throw HostFailure("cannot import " + name + ": " + failure.what());
  }
  const std::uint32_t connection = orva_log_open(imported->Path().c_str());
  if (connection == 0) {
    throw HostFailure("cannot open log " + imported->Path() + ": " + orva_log_last_error());
  }
  return std::unique_ptr<OpenLog>(
      new OpenLog({std::move(name), true, omissions, std::move(origins)},
                  std::make_unique<RowSource>(std::move(imported), connection)));
}

OpenLog::OpenLog(Facts facts, std::unique_ptr<RowSource> rows)
    : facts_(std::move(facts)), rows_(std::move(rows)) {}

OpenLog::~OpenLog() = default;

std::unique_ptr<platform::LogCursor> OpenLog::Rows() const {
  return platform::BindLogCursor(rows_->connection);
}

std::uint32_t OpenLog::Connection() const {
  return rows_->connection;
}

}  // namespace orva::host
