// Making and checking the reference file. The exchange of a QSO and the text
// a line would pre-fill are both scored by the contest's own rules (a
// TContest scoring without recording), and the file's lines are split and
// trimmed as the plug-in's lookup does, so neither tool restates a rule.
#include "host/reference_tools.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>
#include <string_view>

#include "base/log_columns.h"
#include "base/records.h"
#include "base/text.h"
#include "host/console.h"
#include "host/open_log.h"
#include "import/imported_log.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"
#include "scoring/recalculation.h"
#include "scoring/reference_list.h"

namespace orva::host {
namespace {

// A contest state that only ever scores without recording: what the rules
// make of one exchange.
class ExchangeJudge {
 public:
  ExchangeJudge() : contest_(current_) {}

  std::int32_t Score(std::string_view exchange, TScoreDetail& detail) {
    current_.QSOReportRecived.assign(exchange);
    return contest_.ScoreQso(false, &detail);
  }

 private:
  TExchangeRecord current_{};
  TContest contest_;
};

bool IsContinentStyle(std::string_view reference) {
  const auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
  return reference.size() >= 2 && letter(reference[0]) && letter(reference[1]);
}

bool IsBlankOrControl(char c) {
  return IsBlank(c) || IsControl(c);
}

// A callsign a lookup could never find: the key of a line ends at "=" and
// loses its blanks, and no host sends a control character.
bool CanNeverMatch(std::string_view callSign) {
  return callSign.empty() || std::any_of(callSign.begin(), callSign.end(),
                                         [](char c) { return IsBlankOrControl(c) || c == '='; });
}

// What the logs say of one callsign: the first reference, every other one in
// the order first seen, and the last one given. Most stations always give the
// same, so only the others need room of their own.
struct Station {
  std::string first, last;
  std::vector<std::string> others;

  void Give(const std::string& reference) {
    last = reference;
    if (first.empty()) {
      first = reference;
    } else if (reference != first &&
               std::find(others.begin(), others.end(), reference) == others.end()) {
      others.push_back(reference);
    }
  }
};

// One callsign's reference as a QSO gave it, in the order of the logs.
struct Given {
  std::string call, reference;
};

// The stations in byte order of their callsign. The QSOs of ten logs (a
// million) are gathered in a list and sorted once, which keeps them together
// in memory; a table looked up per QSO spent most of its time waiting for it.
using Stations = std::vector<std::pair<std::string, Station>>;

Stations InCallsignOrder(std::vector<Given>& given) {
  std::stable_sort(given.begin(), given.end(),
                   [](const Given& a, const Given& b) { return a.call < b.call; });
  Stations stations;
  for (const Given& qso : given) {
    if (stations.empty() || stations.back().first != qso.call) {
      stations.emplace_back(qso.call, Station{});
    }
    stations.back().second.Give(qso.reference);
  }
  return stations;
}

void Remember(std::vector<Given>& given, std::map<std::string, int>& unmatchable,
              std::string_view callSign, const std::string& reference) {
  std::string call = UpperAscii(callSign);
  if (CanNeverMatch(call)) {
    ++unmatchable[call];
    return;
  }
  given.push_back({std::move(call), reference});
}

// What one log says of its stations, read as the plug-in reads a QSO into
// its record (a short string cuts long texts).
class StationReader {
 public:
  void Read(std::string_view callSign, std::string_view exchange) {
    ++qsos;
    call_.assign(callSign);
    exchange_.assign(exchange);
    judge_.Score(exchange_.text(), detail_);
    if (IsContinentStyle(detail_.reference)) {
      Remember(given, unmatchable, call_.text(), detail_.reference);
    }
  }

  // The rows of an SQLite log in the table's own order, read through the
  // plug-in's own query object.
  void ReadTable(const OpenLog& log, const std::string& table) {
    TLogQuery query("LogQuery", log.Rows());
    query.SetText(SelectAllFrom(table));
    query.Open();
    const std::string callSign(log_column::kCallSign), exchange(log_column::kQsoReportRecived);
    for (; !query.Eof(); query.Next()) {
      const std::string call(query.FieldText(callSign));
      Read(call, query.FieldText(exchange));
    }
  }

  std::vector<Given> given;
  std::map<std::string, int> unmatchable;
  std::size_t qsos = 0;  // read, of all logs so far

 private:
  ExchangeJudge judge_;
  ShortString call_, exchange_;
  TScoreDetail detail_;
};

// Reads one log of any format into `reader`; a HostFailure with the reason
// when it cannot.
void ReadLog(const LogSpec& source, const ImportSettings& settings, StationReader& reader,
             bool& complete) {
  if (source.format != LogSpec::Format::kSqlite) {
    const import::ImportedLog log = ImportFile(source, settings, complete);
    for (const import::ImportedQso& qso : log.qsos) {
      reader.Read(qso.CallSign, qso.QSOReportRecived);
    }
    return;
  }
  const std::unique_ptr<OpenLog> open = OpenLog::Open(source, settings, complete);
  try {
    reader.ReadTable(*open, settings.table);
  } catch (const std::exception& failure) {
    throw HostFailure("cannot read " + source.path + ": " + failure.what());
  }
}

std::string FileText(const Stations& stations) {
  std::string text;
  for (const auto& [call, station] : stations) {
    text += call + "=" + station.last + "\r\n";
  }
  return text;
}

// Standard error is unbuffered, and a year of logs can name tens of thousands
// of stations: the messages go out in one write.
void TellAmbiguities(const Stations& stations, const std::map<std::string, int>& unmatchable) {
  std::string told;
  for (const auto& [call, station] : stations) {
    if (!station.others.empty()) {
      told += "orva-host: " + call + " gave " + station.first;
      for (const std::string& other : station.others) {
        told += ", " + other;
      }
      told += "; kept " + station.last + ", the last\n";
    }
  }
  for (const auto& [call, count] : unmatchable) {
    told += "orva-host: left out callsign " + QuotedForMessage(call) + " (" +
            std::to_string(count) + (count == 1 ? " QSO" : " QSOs") + "): no lookup can match it\n";
  }
  std::fwrite(told.data(), 1, told.size(), stderr);
}

// Why the reference file was not made, and that the one there stands.
std::string Kept(const std::string& path, const std::string& reason) {
  return reason + ": " + (path == "-" ? "nothing written" : path + " left as it was");
}

void TellKept(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "orva-host: %s\n", Kept(path, reason).c_str());
}

// --- Checking ----------------------------------------------------------------

// A finding is a line that cannot do what it is there for; a note is a line
// that does it, with a result worth knowing.
struct Finding {
  std::size_t line;
  std::string text;
  bool note = false;
};

// What the rules make of the text a line pre-fills, unless it is a reference
// that scores as a continent's. A reference of two letters that name no
// continent (AN-016, or ROARS of another contest's log) is what a station
// may well send, and what a made file keeps: a note. Anything else (no
// reference, or one such as a serial) is a finding.
std::optional<Finding> SurprisingPrefill(ExchangeJudge& judge, std::size_t line,
                                         std::string_view value) {
  TScoreDetail detail;
  std::string prefill(1, ' ');  // as the lookup gives it
  const std::int32_t points = judge.Score(prefill.append(value), detail);
  if (points == kContinentPoints) {
    return std::nullopt;
  }
  if (IsContinentStyle(detail.reference)) {
    return Finding{line,
                   std::string("note: pre-fills ") + QuotedForMessage(value) +
                       ", whose reference starts with no continent: worth " +
                       std::to_string(points) + " points",
                   true};
  }
  const std::string read = detail.reference.empty()
                               ? "no reference"
                               : std::string("the reference ") + QuotedForMessage(detail.reference);
  return Finding{line, std::string("pre-fills ") + QuotedForMessage(value) +
                           ", which the rules read as " + read + ", worth " +
                           std::to_string(points) + " points"};
}

std::optional<std::string> KeyFault(std::string_view key) {
  if (key.empty()) {
    return "an empty key never pre-fills";
  }
  if (std::any_of(key.begin(), key.end(), IsBlankOrControl)) {
    return std::string("the key ") + QuotedForMessage(key) +
           " holds a space or control character (a space before \"=\"?): no callsign "
           "matches it";
  }
  if (UpperAscii(key) != key) {
    return std::string("the key ") + QuotedForMessage(key) +
           " has lower-case letters: it matches only a callsign given exactly so";
  }
  return std::nullopt;
}

std::vector<Finding> CheckLines(std::string_view bytes) {
  std::vector<Finding> findings;
  ExchangeJudge judge;
  std::map<std::string, std::size_t, std::less<>> lineOfKey;
  const std::vector<std::string> lines = SplitLines(bytes);
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string_view line = Trim(lines[number - 1]);
    const std::size_t equals = line.find('=');
    if (line.empty()) {
      continue;
    }
    if (equals == std::string_view::npos) {
      findings.push_back({number, "no \"=\": the line never pre-fills"});
      continue;
    }
    const std::string_view key = line.substr(0, equals);
    if (const auto fault = KeyFault(key)) {
      findings.push_back({number, *fault});
    }
    if (auto surprise = SurprisingPrefill(judge, number, line.substr(equals + 1))) {
      findings.push_back(std::move(*surprise));
    }
    if (key.empty()) {
      continue;
    }
    if (const auto earlier = lineOfKey.find(key); earlier != lineOfKey.end()) {
      findings.push_back({earlier->second, std::string("the key ") + QuotedForMessage(key) +
                                               " is given again on line " + std::to_string(number) +
                                               ", which wins: this line is never used"});
    }
    lineOfKey[std::string(key)] = number;
  }
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string_view::npos &&
      bytes.find_first_not_of(std::string_view("\0 \t\r\n", 5), zero) != std::string_view::npos) {
    const std::size_t line = SplitLines(bytes.substr(0, zero)).size() +
                             (zero == 0 || bytes[zero - 1] == '\n' || bytes[zero - 1] == '\r');
    findings.push_back({line, "a zero byte: nothing from here to the end is ever read"});
  }
  return findings;
}

}  // namespace

ExitStatus MakeReferenceFile(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                             const std::string& path) {
  StationReader reader;
  bool complete = true;
  bool everyLogGaveQsos = true;
  for (const LogSpec& log : logs) {
    const std::size_t before = reader.qsos;
    try {
      ReadLog(log, settings, reader, complete);
    } catch (const HostFailure& failure) {
      // The reason first, then what became of the reference file, each a line.
      throw HostFailure(std::string(failure.what()) +
                            "\norva-host: " + Kept(path, log.path + " could not be read"),
                        failure.status());
    }
    if (reader.qsos == before) {
      TellKept(path, log.path + " gave no QSO");
      everyLogGaveQsos = false;
    }
  }
  // A log read as something it is not (a Cabrillo file given as ADIF) gives
  // nothing; a file made of what is left would silently lose its stations.
  if (!everyLogGaveQsos) {
    return kFailed;  // each log told as it was read
  }
  const Stations stations = InCallsignOrder(reader.given);
  TellAmbiguities(stations, reader.unmatchable);
  if (stations.empty()) {
    throw HostFailure(Kept(path, "no QSO of the logs carried a reference"));
  }
  const std::string text = FileText(stations);
  if (path == "-") {
    // The file's own bytes, its CR LF line ends as they are.
    const BinaryStream binary(stdout);
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0) {
      return kFailed;
    }
  } else if (const std::string failure = ReplaceFileWhole(path, text); !failure.empty()) {
    throw HostFailure("cannot write " + path + ": " + failure);
  }
  return complete ? kSucceeded : kIncomplete;
}

ExitStatus CheckReferenceFile(const std::string& path) {
  std::vector<Finding> findings = CheckLines(ReadUserFile(path));
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  for (const Finding& finding : findings) {
    std::printf("%s:%zu: %s\n", path.c_str(), finding.line, finding.text.c_str());
  }
  const bool onlyNotes = std::all_of(findings.begin(), findings.end(),
                                     [](const Finding& finding) { return finding.note; });
  return onlyNotes ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
