// Opening a log for the host's tools: the kind of a log given without it,
// the import of another program's file, with every record it leaves out or
// reads with a guess named, and the native log handle. A log given as the
// wrong kind is told apart from an empty one, with the option that fits.
#include "host/log_source.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"
#include "platform/native/orva_log.h"

namespace orva::host {
namespace {

using Format = LogSpec::Format;

// The first bytes of a file, enough to tell its kind; false with the reason.
bool ReadHead(const std::string& path, std::string& head, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  head.resize(import::kFormatHeadSize);
  head.resize(std::fread(head.data(), 1, head.size(), file));
  const bool read = !std::ferror(file);
  error = read ? "" : std::strerror(errno);
  std::fclose(file);
  return read;
}

// How the host names each kind of log, and the option that reads it.
struct Kind {
  Format format;
  const char* name;
  const char* option;
};
constexpr Kind kKinds[] = {
    {Format::kSqlite, "an SQLite log", "--log"},
    {Format::kAdif, "an ADIF log", "--adif"},
    {Format::kCabrillo, "a Cabrillo log", "--cabrillo"},
};

// Names the option that fits a log whose content is of another kind than it
// was given as; false when the content shows no other kind.
bool HintOtherKind(const LogSpec& source, std::string_view head) {
  const Format found = import::FormatOfContent(head);
  for (const Kind& kind : kKinds) {
    if (kind.format == found && found != source.format) {
      std::fprintf(stderr, "orva-host: %s looks like %s: use %s\n", source.path.c_str(), kind.name,
                   kind.option);
      return true;
    }
  }
  return false;
}

void TellRecords(const import::ImportedLog& log, const char* path) {
  for (const import::SkippedRecord& skipped : log.skipped) {
    std::fprintf(stderr, "skipped record %zu: %s\n", skipped.record, skipped.reason.c_str());
  }
  for (const import::NotedRecord& noted : log.noted) {
    std::fprintf(stderr, "read record %zu: %s\n", noted.record, noted.note.c_str());
  }
  for (const std::string& remark : log.remarks) {
    std::fprintf(stderr, "orva-host: %s: %s\n", path, remark.c_str());
  }
}

}  // namespace

bool RecogniseFormat(LogSpec& source) {
  if (source.format != Format::kUnknown) {
    return true;
  }
  std::string head, error;
  if (!ReadHead(source.path, head, error)) {
    std::fprintf(stderr, "orva-host: cannot open %s: %s\n", source.path.c_str(), error.c_str());
    return false;
  }
  source.format = import::FormatOfContent(head);
  if (source.format == Format::kUnknown) {
    std::fprintf(stderr,
                 "orva-host: %s is no log of a kind orva-host reads (SQLite, ADIF, Cabrillo); "
                 "give --log, --adif or --cabrillo\n",
                 source.path.c_str());
    return false;
  }
  return true;
}

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
  if (log.qsos.empty() &&
      HintOtherKind(source, std::string_view(bytes).substr(0, import::kFormatHeadSize))) {
    return std::nullopt;
  }
  TellRecords(log, path);
  if (log.qsos.empty()) {
    std::fprintf(stderr, "orva-host: %s holds no QSO to score\n", path);
  }
  complete = complete && log.skipped.empty() && !log.qsos.empty();
  return log;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete, import::Origins origins) {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::string database = source.path;
  if (source.format != LogSpec::Format::kSqlite) {
    std::optional<import::ImportedLog> log = ImportFile(source, settings, complete);
    if (!log) {
      return nullptr;
    }
    import::PutInTimeOrder(log->qsos);
    try {
      imported = std::make_unique<import::TemporaryLogDatabase>(log->qsos, settings.table, origins);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "orva-host: cannot import %s: %s\n", source.path.c_str(),
                   failure.what());
      return nullptr;
    }
    database = imported->Path();
  }
  const std::uint32_t connection = orva_log_open(database.c_str());
  if (connection == 0) {
    std::string head, error;
    if (!ReadHead(database, head, error) || !HintOtherKind(source, head)) {
      std::fprintf(stderr, "orva-host: cannot open log %s: %s\n", database.c_str(),
                   orva_log_last_error());
    }
    return nullptr;
  }
  return std::unique_ptr<OpenLog>(
      new OpenLog(source.path, std::move(imported), origins, connection));
}

OpenLog::~OpenLog() {
  orva_log_close(connection_);
}

}  // namespace orva::host
