// The logs given to the host's tools: the kind of a log given without it,
// and the import of another program's file, with every record it leaves out
// or reads with a guess named. A log given as the wrong kind is told apart
// from an empty one, with the option that fits.
#include "host/logs/log_source.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

#include "base/text.h"
#include "host/logs/sqlite_logs.h"
#include "host/system/console.h"
#include "host/system/host_failure.h"
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
  return HostFailure("cannot open " + NameOfFile(path) + ": " + std::strerror(error));
}

// A line on standard error that names a file: a console shows the name as
// the user gave it (WriteText).
void Tell(const std::string& line) {
  WriteText(stderr, line + '\n');
}

void TellRecords(const import::ImportedLog& log, const std::string& name) {
  for (const import::SkippedRecord& skipped : log.skipped) {
    std::fprintf(stderr, "skipped record %zu: %s\n", skipped.record, skipped.reason.c_str());
  }
  for (const import::NotedRecord& noted : log.noted) {
    std::fprintf(stderr, "read record %zu: %s\n", noted.record, noted.note.c_str());
  }
  for (const std::string& remark : log.remarks) {
    Tell("orva-host: " + name + ": " + remark);
  }
}

// Leaves out the QSOs outside the period and says how many, and how many
// it kept for having no time to judge.
void KeepInPeriod(import::ImportedLog& log, const ContestPeriod& period, const std::string& name,
                  LeftOut& leftOut) {
  if (!period.Limited()) {
    return;
  }
  std::vector<import::ImportedQso> kept;
  kept.reserve(log.qsos.size());
  for (import::ImportedQso& qso : log.qsos) {
    const std::optional<Moment> time = qso.when.At();
    if (!period.Holds(time)) {
      ++leftOut.outsidePeriod;
      continue;
    }
    leftOut.keptWithoutTime += time ? 0 : 1;
    kept.push_back(std::move(qso));
  }
  log.qsos = std::move(kept);
  std::string told = "orva-host: " + name + ": QSOs outside the contest period, left out: " +
                     std::to_string(leftOut.outsidePeriod);
  if (leftOut.keptWithoutTime > 0) {
    told += "; QSOs without a time, kept: " + std::to_string(leftOut.keptWithoutTime);
  }
  Tell(told);
}

}  // namespace

std::vector<QsoOrigin> OriginsOf(const std::vector<import::ImportedQso>& qsos) {
  std::vector<QsoOrigin> origins;
  origins.reserve(qsos.size());
  for (const import::ImportedQso& qso : qsos) {
    origins.push_back({qso.record, qso.when});
  }
  return origins;
}

bool IsEmptyFile(std::string_view bytes) {
  return Trim(bytes).empty();
}

std::optional<std::string> OtherKindHint(const LogSpec& source, std::string_view head) {
  const Format found = import::FormatOfContent(head);
  for (const Kind& kind : kKinds) {
    if (kind.format == found && found != source.format) {
      const std::string looks = NameOfFile(source.path) + " looks like " + kind.name;
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
  // An empty file is no SQLite log, and ImportFile names it empty whatever
  // its kind.
  if (source.format == Format::kUnknown && IsEmptyFile(head)) {
    source.format = Format::kAdif;
  }
  if (source.format == Format::kUnknown) {
    throw HostFailure(NameOfFile(source.path) +
                      (ReadsSqliteLogs() ? " is no log of a kind orva-host reads (SQLite, ADIF, "
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
  const std::string name = NameOfFile(source.path);
  const std::string bytes = ReadUserFile(source.path);
  // An empty file gives no QSO, and nothing for a reader to remark on.
  ImportedLog log = IsEmptyFile(bytes) ? ImportedLog{}
                    : source.format == LogSpec::Format::kAdif
                        ? ReadAdif(bytes, settings.adifExchangeFields)
                        : ReadCabrillo(bytes);
  if (!log.unreadable.empty()) {
    throw HostFailure("cannot read " + name + ": " + log.unreadable);
  }
  if (log.qsos.empty()) {
    if (auto hint = OtherKindHint(source, std::string_view(bytes).substr(0, kFormatHeadSize))) {
      throw HostFailure(*hint);
    }
  }
  TellRecords(log, name);
  LeftOut left;
  left.skippedRecords = log.skipped.size();
  KeepInPeriod(log, settings.period, name, left);
  if (leftOut) {
    *leftOut = left;
  }
  if (log.qsos.empty()) {
    Tell("orva-host: " + name +
         (IsEmptyFile(bytes)       ? " is empty"
          : left.outsidePeriod > 0 ? " holds no QSO to score within the contest period"
                                   : " holds no QSO to score"));
  }
  complete = complete && log.skipped.empty() && !log.qsos.empty();
  return log;
}

}  // namespace orva::host
