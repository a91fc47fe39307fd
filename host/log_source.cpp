// Opening a log for the host's tools: the kind of a log given without it,
// the import of another program's file, with every record it leaves out or
// reads with a guess named, and the native log handle. A log given as the
// wrong kind is told apart from an empty one, with the option that fits.
#include "host/log_source.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

#include "host/host_failure.h"
#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"
#include "platform/native/file_read.h"
#include "platform/native/orva_log.h"

namespace orva::host {
namespace {

using Format = LogSpec::Format;

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
// was given as; nothing when the content shows no other kind.
std::optional<std::string> OtherKindHint(const LogSpec& source, std::string_view head) {
  const Format found = import::FormatOfContent(head);
  for (const Kind& kind : kKinds) {
    if (kind.format == found && found != source.format) {
      return source.path + " looks like " + kind.name + ": use " + kind.option;
    }
  }
  return std::nullopt;
}

HostFailure CannotOpen(const std::string& path, int error) {
  return HostFailure("cannot open " + path + ": " + std::strerror(error));
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

// Leaves out the QSOs outside the period and says how many, and how many
// it kept for having no time to judge.
void KeepInPeriod(import::ImportedLog& log, const ContestPeriod& period, const char* path,
                  LeftOut& leftOut) {
  if (!period.Limited()) {
    return;
  }
  std::vector<import::ImportedQso> kept;
  kept.reserve(log.qsos.size());
  for (import::ImportedQso& qso : log.qsos) {
    const std::optional<Moment> time = MomentOf(qso.date, qso.time);
    if (!period.Holds(time)) {
      ++leftOut.outsidePeriod;
      continue;
    }
    leftOut.keptWithoutTime += time ? 0 : 1;
    kept.push_back(std::move(qso));
  }
  log.qsos = std::move(kept);
  std::fprintf(stderr, "orva-host: %s: QSOs outside the contest period, left out: %zu", path,
               leftOut.outsidePeriod);
  if (leftOut.keptWithoutTime > 0) {
    std::fprintf(stderr, "; QSOs without a time, kept: %zu", leftOut.keptWithoutTime);
  }
  std::fputc('\n', stderr);
}

}  // namespace

void RecogniseFormat(LogSpec& source) {
  if (source.format != Format::kUnknown) {
    return;
  }
  std::string head;
  if (const int error = platform::ReadFileHead(source.path, head, import::kFormatHeadSize)) {
    throw CannotOpen(source.path, error);
  }
  source.format = import::FormatOfContent(head);
  if (source.format == Format::kUnknown) {
    throw HostFailure(source.path +
                      " is no log of a kind orva-host reads (SQLite, ADIF, Cabrillo); "
                      "give --log, --adif or --cabrillo");
  }
}

std::string ReadUserFile(const std::string& path) {
  std::string bytes;
  if (const int error = platform::ReadFileWhole(path, bytes)) {
    throw CannotOpen(path, error);
  }
  return bytes;
}

orva::import::ImportedLog ImportFile(const LogSpec& source, const ImportSettings& settings,
                                     bool& complete, LeftOut* leftOut) {
  using namespace orva::import;
  const char* path = source.path.c_str();
  const std::string bytes = ReadUserFile(source.path);
  ImportedLog log = source.format == LogSpec::Format::kAdif
                        ? ReadAdif(bytes, settings.adifExchangeFields)
                        : ReadCabrillo(bytes);
  if (!log.unreadable.empty()) {
    throw HostFailure("cannot read " + source.path + ": " + log.unreadable);
  }
  if (log.qsos.empty()) {
    if (auto hint = OtherKindHint(source, std::string_view(bytes).substr(0, kFormatHeadSize))) {
      throw HostFailure(*hint);
    }
  }
  TellRecords(log, path);
  LeftOut left;
  left.skippedRecords = log.skipped.size();
  KeepInPeriod(log, settings.period, path, left);
  if (leftOut) {
    *leftOut = left;
  }
  if (log.qsos.empty()) {
    std::fprintf(stderr, "orva-host: %s holds no QSO to score%s\n", path,
                 left.outsidePeriod > 0 ? " within the contest period" : "");
  }
  complete = complete && log.skipped.empty() && !log.qsos.empty();
  return log;
}

std::unique_ptr<OpenLog> OpenLog::Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete, import::Origins origins) {
  std::unique_ptr<import::TemporaryLogDatabase> imported;
  std::string database = source.path;
  LeftOut leftOut;
  if (source.format == LogSpec::Format::kSqlite && settings.period.Limited()) {
    std::fprintf(stderr,
                 "orva-host: %s: an SQLite log gives no times: the contest period keeps all its "
                 "QSOs\n",
                 source.path.c_str());
  }
  if (source.format != LogSpec::Format::kSqlite) {
    import::ImportedLog log = ImportFile(source, settings, complete, &leftOut);
    import::PutInTimeOrder(log.qsos);
    try {
      imported = std::make_unique<import::TemporaryLogDatabase>(log.qsos, settings.table, origins);
    } catch (const std::exception& failure) {
      throw HostFailure("cannot import " + source.path + ": " + failure.what());
    }
    database = imported->Path();
  }
  const std::uint32_t connection = orva_log_open(database.c_str());
  if (connection == 0) {
    std::string head;
    const std::optional<std::string> hint =
        platform::ReadFileHead(database, head, import::kFormatHeadSize) == 0
            ? OtherKindHint(source, head)
            : std::nullopt;
    throw HostFailure(hint ? *hint : "cannot open log " + database + ": " + orva_log_last_error());
  }
  return std::unique_ptr<OpenLog>(
      new OpenLog(source.path, std::move(imported), origins, connection, leftOut));
}

OpenLog::~OpenLog() {
  orva_log_close(connection_);
}

}  // namespace orva::host
