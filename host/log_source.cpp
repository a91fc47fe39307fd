// The logs given to the host's tools: the kind of a log given without it,
// and the import of another program's file, with every record it leaves out
// or reads with a guess named. A log given as the wrong kind is told apart
// from an empty one, with the option that fits.
#include "host/log_source.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

#include "host/console.h"
#include "host/host_failure.h"
#include "host/open_log.h"
#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"

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

std::optional<std::string> OtherKindHint(const LogSpec& source, std::string_view head) {
  const Format found = import::FormatOfContent(head);
  for (const Kind& kind : kKinds) {
    if (kind.format == found && found != source.format) {
      const std::string looks = source.path + " looks like " + kind.name;
      if (found == Format::kSqlite && !ReadsSqliteLogs()) {
        return looks + ", " + kSqliteLogsElsewhere;
      }
      return looks + ": use " + kind.option;
    }
  }
  return std::nullopt;
}

void RecogniseFormat(LogSpec& source) {
  if (source.format != Format::kUnknown) {
    return;
  }
  std::string head;
  if (const int error = ReadUserInput(source.path, head, import::kFormatHeadSize)) {
    throw CannotOpen(source.path, error);
  }
  source.format = import::FormatOfContent(head);
  if (source.format == Format::kUnknown) {
    throw HostFailure(source.path + (ReadsSqliteLogs()
                                         ? " is no log of a kind orva-host reads (SQLite, ADIF, "
                                           "Cabrillo); give --log, --adif or --cabrillo"
                                         : " is no log of a kind orva-host.exe reads (ADIF, "
                                           "Cabrillo); give --adif or --cabrillo"));
  }
}

std::string ReadUserFile(const std::string& path) {
  std::string bytes;
  if (const int error = ReadUserInput(path, bytes)) {
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

}  // namespace orva::host
