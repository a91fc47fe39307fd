// Opening a log for the host's tools: the import of another program's file,
// with every record it leaves out named, and the native log handle.
#include "host/log_source.h"

#include <cstdio>
#include <exception>

#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"
#include "platform/native/orva_log.h"

namespace orva::host {

std::optional<import::ImportedLog> ImportFile(const LogSpec& source, const ImportSettings& settings,
                                              bool& complete) {
  using namespace orva::import;
  const char* path = source.path.c_str();
  std::string bytes, error;
  if (!ReadWholeFile(source.path, bytes, error)) {
    std::fprintf(stderr, "orva-host: cannot open %s: %s\n", path, error.c_str());
    return std::nullopt;
  }
  ImportedLog log = source.format == LogSpec::Format::kAdif
                        ? ReadAdif(bytes, settings.adifExchangeFields)
                        : ReadCabrillo(bytes);
  if (!log.unreadable.empty()) {
    std::fprintf(stderr, "orva-host: cannot read %s: %s\n", path, log.unreadable.c_str());
    return std::nullopt;
  }
  for (const SkippedRecord& skipped : log.skipped) {
    std::fprintf(stderr, "skipped record %zu: %s\n", skipped.record, skipped.reason.c_str());
  }
  if (log.qsos.empty()) {
    std::fprintf(stderr, "orva-host: %s holds no QSO to score\n", path);
  }
  complete = complete && log.skipped.empty() && !log.qsos.empty();
  return log;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete) {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::string database = source.path;
  if (source.format != LogSpec::Format::kSqlite) {
    const std::optional<import::ImportedLog> log = ImportFile(source, settings, complete);
    if (!log) {
      return nullptr;
    }
    try {
      imported = std::make_unique<import::TemporaryLogDatabase>(log->qsos, settings.table);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "orva-host: cannot import %s: %s\n", source.path.c_str(),
                   failure.what());
      return nullptr;
    }
    database = imported->Path();
  }
  const std::uint32_t connection = orva_log_open(database.c_str());
  if (connection == 0) {
    std::fprintf(stderr, "orva-host: cannot open log %s: %s\n", database.c_str(),
                 orva_log_last_error());
    return nullptr;
  }
  return std::unique_ptr<OpenLog>(new OpenLog(source.path, std::move(imported), connection));
}

OpenLog::~OpenLog() {
  orva_log_close(connection_);
}

}  // namespace orva::host
