// Making and checking the reference file. The exchange of a QSO and the text
// a line would pre-fill are both scored by the contest's own rules (a
// TContest scoring without recording), and the file's lines are split and
// trimmed as the plug-in's lookup does, so neither tool restates a rule.
#include "host/reference_tools.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "base/text.h"
#include "import/imported_log.h"
#include "platform/database.h"
#include "platform/native/file_replace.h"
#include "plugin/records.h"
#include "scoring/contest.h"
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

// A callsign a lookup could never find: the key of a line ends at "=" and
// loses its blanks, and no host sends a control character.
bool CanNeverMatch(std::string_view callSign) {
  if (callSign.empty()) {
    return true;
  }
  for (const char c : callSign) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 32 || byte == 127 || c == '=') {
      return true;
    }
  }
  return false;
}

// What the logs say of one callsign: every distinct reference in the order
// first seen, and the last one given.
struct Station {
  std::string last;
  std::vector<std::string> distinct;
};

// Hashed while the logs are read (a million QSOs of ten logs), put in byte
// order of the callsign once at the end.
using Stations = std::unordered_map<std::string, Station>;
using StationEntry = Stations::value_type;

std::vector<const StationEntry*> InCallsignOrder(const Stations& stations) {
  std::vector<const StationEntry*> sorted;
  sorted.reserve(stations.size());
  for (const StationEntry& entry : stations) {
    sorted.push_back(&entry);
  }
  std::sort(sorted.begin(), sorted.end(),
            [](const StationEntry* a, const StationEntry* b) { return a->first < b->first; });
  return sorted;
}

std::string Printable(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    shown += byte < 32 || byte == 127 ? '?' : c;
  }
  return shown;
}

void Remember(Stations& stations, std::map<std::string, int>& unmatchable,
              std::string_view callSign, const std::string& reference) {
  const std::string call = UpperAscii(callSign);
  if (CanNeverMatch(call)) {
    ++unmatchable[call];
    return;
  }
  Station& station = stations[call];
  station.last = reference;
  if (std::find(station.distinct.begin(), station.distinct.end(), reference) ==
      station.distinct.end()) {
    station.distinct.push_back(reference);
  }
}

std::string_view Column(platform::LogCursor& cursor, const std::string& name) {
  const std::optional<std::string_view> value = cursor.FieldText(name);
  if (!value) {
    throw std::runtime_error("Field '" + name + "' not found");
  }
  return *value;
}

// What one log says of its stations, read as the plug-in reads a QSO into
// its record (a short string cuts long texts).
class StationReader {
 public:
  void Read(std::string_view callSign, std::string_view exchange) {
    call_.assign(callSign);
    exchange_.assign(exchange);
    judge_.Score(exchange_.text(), detail_);
    if (IsContinentStyle(detail_.reference)) {
      Remember(stations, unmatchable, call_.text(), detail_.reference);
    }
  }

  // The rows of an SQLite log in the table's own order.
  void ReadTable(std::uint32_t connection, const std::string& table) {
    if (!IsSafeTableName(table)) {
      throw std::runtime_error("Invalid table name '" + table + "'");
    }
    const std::unique_ptr<platform::LogCursor> cursor = platform::BindLogCursor(connection);
    cursor->Open("Select * from " + table);
    for (; !cursor->Eof(); cursor->Next()) {
      const std::string call(Column(*cursor, "CallSign"));
      Read(call, Column(*cursor, "QSOReportRecived"));
    }
  }

  Stations stations;
  std::map<std::string, int> unmatchable;

 private:
  ExchangeJudge judge_;
  ShortString call_, exchange_;
  TScoreDetail detail_;
};

// Reads one log of any format into `reader`; false with the reason told.
bool ReadLog(const LogSpec& spec, const ImportSettings& settings, StationReader& reader,
             bool& complete) {
  try {
    if (spec.format != LogSpec::Format::kSqlite) {
      const std::optional<import::ImportedLog> log = ImportFile(spec, settings, complete);
      if (!log) {
        return false;
      }
      for (const import::ImportedQso& qso : log->qsos) {
        reader.Read(qso.CallSign, qso.QSOReportRecived);
      }
      return true;
    }
    const std::unique_ptr<OpenLog> open = OpenLog::Open(spec, settings, complete);
    if (open) {
      reader.ReadTable(open->Connection(), settings.table);
    }
    return open != nullptr;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "orva-host: cannot read %s: %s\n", spec.path.c_str(), failure.what());
    return false;
  }
}

std::string FileText(const std::vector<const StationEntry*>& stations) {
  std::string text;
  for (const StationEntry* entry : stations) {
    text += entry->first + "=" + entry->second.last + "\r\n";
  }
  return text;
}

void TellAmbiguities(const std::vector<const StationEntry*>& stations,
                     const std::map<std::string, int>& unmatchable) {
  for (const auto* entry : stations) {
    const auto& [call, station] = *entry;
    if (station.distinct.size() > 1) {
      std::string given;
      for (const std::string& reference : station.distinct) {
        given += (given.empty() ? "" : ", ") + reference;
      }
      std::fprintf(stderr, "orva-host: %s gave %s; kept %s, the last\n", call.c_str(),
                   given.c_str(), station.last.c_str());
    }
  }
  for (const auto& [call, count] : unmatchable) {
    std::fprintf(stderr, "orva-host: left out callsign '%s' (%d QSO%s): no lookup can match it\n",
                 Printable(call).c_str(), count, count == 1 ? "" : "s");
  }
}

// The permissions a new file of the user's gets: what the umask lets through.
mode_t WithUmask(mode_t permissions) {
  const mode_t mask = umask(0);
  umask(mask);
  return permissions & ~mask;
}

// --- Checking ----------------------------------------------------------------

struct Finding {
  std::size_t line;
  std::string text;
};

std::string Quote(std::string_view text) {
  std::string quoted(1, '\'');
  quoted += Printable(text);
  return quoted += '\'';
}

// What the rules make of the text a line pre-fills, when they do not read it
// as a continent's reference (two letters first, as made files hold them;
// which continents score is the contest's business, not the file's).
std::optional<std::string> SurprisingPrefill(ExchangeJudge& judge, std::string_view value) {
  TScoreDetail detail;
  std::string prefill(1, ' ');  // as the lookup gives it
  const std::int32_t points = judge.Score(prefill.append(value), detail);
  if (IsContinentStyle(detail.reference)) {
    return std::nullopt;
  }
  const std::string read = detail.reference.empty()
                               ? "no reference"
                               : std::string("the reference ") + Quote(detail.reference);
  return std::string("pre-fills ") + Quote(value) + ", which the rules read as " + read +
         ", worth " + std::to_string(points) + " points";
}

std::optional<std::string> KeyFault(std::string_view key) {
  if (key.empty()) {
    return "an empty key never pre-fills";
  }
  for (const char c : key) {
    if (static_cast<unsigned char>(c) <= 32 || c == 127) {
      return std::string("the key ") + Quote(key) +
             " holds a space or control character (a space before \"=\"?): no callsign "
             "matches it";
    }
  }
  for (const char c : key) {
    if (c >= 'a' && c <= 'z') {
      return std::string("the key ") + Quote(key) +
             " has lower-case letters: it matches only a callsign given exactly so";
    }
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
    if (const auto surprise = SurprisingPrefill(judge, line.substr(equals + 1))) {
      findings.push_back({number, *surprise});
    }
    if (key.empty()) {
      continue;
    }
    if (const auto earlier = lineOfKey.find(key); earlier != lineOfKey.end()) {
      findings.push_back({earlier->second, std::string("the key ") + Quote(key) +
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

int MakeReferenceFile(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                      const std::string& path) {
  StationReader reader;
  bool complete = true;
  for (const LogSpec& log : logs) {
    if (!ReadLog(log, settings, reader, complete)) {
      return 2;
    }
  }
  const std::vector<const StationEntry*> stations = InCallsignOrder(reader.stations);
  TellAmbiguities(stations, reader.unmatchable);
  const std::string text = FileText(stations);
  if (path == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (std::fflush(stdout) != 0) {
      return 2;
    }
  } else if (const int failure = platform::ReplaceFileWhole(path, text, {WithUmask(0666), {}})) {
    std::fprintf(stderr, "orva-host: cannot write %s: %s\n", path.c_str(), std::strerror(failure));
    return 2;
  }
  return complete ? 0 : 1;
}

int CheckReferenceFile(const std::string& path) {
  std::string bytes, error;
  if (!import::ReadWholeFile(path, bytes, error)) {
    std::fprintf(stderr, "orva-host: cannot open %s: %s\n", path.c_str(), error.c_str());
    return 2;
  }
  std::vector<Finding> findings = CheckLines(bytes);
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  for (const Finding& finding : findings) {
    std::printf("%s:%zu: %s\n", path.c_str(), finding.line, finding.text.c_str());
  }
  return findings.empty() ? 0 : 1;
}

}  // namespace orva::host
