// Making and checking the reference file. The exchange of a QSO and the text
// a line would pre-fill are both scored by the contest's own rules (a
// TContest scoring without recording), and the file's lines are split and
// trimmed as the plug-in's lookup does, so neither tool restates a rule.
// Which of the references the rule finds a made file keeps (those of two
// letters and digits, the one a station gave most often) is the tool's own
// choice: the plug-in would pre-fill whatever the file says.
#include "host/tools/reference_tools.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>

#include "base/log_columns.h"
#include "base/records.h"
#include "base/text.h"
#include "host/logs/open_log.h"
#include "host/system/console.h"
#include "import/imported_log.h"
#include "import/qso_moment.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"
#include "scoring/recalculation.h"
#include "scoring/reference_list.h"

namespace orva::host {
namespace {

using import::Moment;

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

// A reference as stations send it: two letters, an optional "-" or "+", then
// digits (EU-005, EU005, AN-016, SA+12). What else the rule finds at the end
// of an exchange (a name, a serial, 59021) is another contest's exchange.
bool IsReferenceShaped(std::string_view reference) {
  if (!IsContinentStyle(reference)) {
    return false;
  }
  std::string_view rest = reference.substr(2);
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    rest.remove_prefix(1);
  }
  return !rest.empty() && std::all_of(rest.begin(), rest.end(), IsAsciiDigit);
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

// What one QSO gave: the callsign, what the rule found at the end of its
// exchange, and when.
struct Given {
  std::string call, reference;
  Moment moment;
};

// How often a callsign gave one reference, and the place of the latest QSO
// that gave it among the callsign's QSOs in time order.
struct Tally {
  std::string_view reference;
  std::size_t times = 0;
  std::size_t latest = 0;
};

// The references of one callsign's QSOs (in time order) that `kept` keeps,
// in the order first given.
std::vector<Tally> Count(std::span<const Given> qsos, KeptReferences kept) {
  std::vector<Tally> tallies;
  for (std::size_t at = 0; at < qsos.size(); ++at) {
    const std::string_view reference = qsos[at].reference;
    if (kept == KeptReferences::kShaped && !IsReferenceShaped(reference)) {
      continue;
    }
    auto tally = std::find_if(tallies.begin(), tallies.end(),
                              [reference](const Tally& t) { return t.reference == reference; });
    if (tally == tallies.end()) {
      tally = tallies.insert(tallies.end(), Tally{reference});
    }
    ++tally->times;
    tally->latest = at;
  }
  return tallies;
}

// The reference given most often, the latest among equals.
const Tally& MostGiven(const std::vector<Tally>& tallies) {
  return *std::max_element(tallies.begin(), tallies.end(), [](const Tally& a, const Tally& b) {
    return std::tie(a.times, a.latest) < std::tie(b.times, b.latest);
  });
}

std::string Times(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " QSO" : " QSOs");
}

// "G3AAA gave EU-099 (1 QSO), EU-005 (2 QSOs); kept EU-005, ...", for the
// operator to check a station that changed its reference or was miscopied.
std::string Ambiguity(std::string_view call, const std::vector<Tally>& tallies, const Tally& kept) {
  std::string told = "orva-host: " + std::string(call) + " gave ";
  for (const Tally& tally : tallies) {
    told += std::string(tally.reference) + " (" + Times(tally.times) + "), ";
  }
  told.resize(told.size() - 2);
  const bool tied = std::count_if(tallies.begin(), tallies.end(),
                                  [&kept](const Tally& t) { return t.times == kept.times; }) > 1;
  return told + "; kept " + std::string(kept.reference) +
         (tied ? ", the latest of the most often given\n" : ", the most often given\n");
}

// The callsigns whose exchanges ended in no reference of the shape kept, with
// the first few of what they ended in, so that a log of another contest
// shows as such.
struct LeftOutCallsigns {
  static constexpr std::size_t kShown = 3;
  std::size_t count = 0;
  std::vector<std::string> shown;

  void Add(std::string_view text) {
    ++count;
    if (shown.size() < kShown && std::find(shown.begin(), shown.end(), text) == shown.end()) {
      shown.emplace_back(text);
    }
  }

  std::string Told() const {
    if (count == 0) {
      return {};
    }
    std::string told =
        "orva-host: left out " + std::to_string(count) +
        (count == 1 ? " callsign whose exchange ends" : " callsigns whose exchanges end") +
        " in no reference of two letters and digits (";
    for (const std::string& text : shown) {
      told += text + ", ";
    }
    told.resize(told.size() - 2);
    return told + (count > shown.size() ? ", ...)" : ")") + "; --keep-all keeps " +
           (count == 1 ? "it\n" : "them\n");
  }
};

// The file made of what the QSOs gave: one CALL=REFERENCE line per callsign
// in byte order, ended by CR LF, and what the operator should check.
struct Made {
  std::string text;
  std::size_t lines = 0;
  std::string told;  // for standard error
};

// `given` sorted by callsign and, for each, in time order; the QSOs of the
// logs were gathered in one list and sorted once, which keeps them together
// in memory (a table looked up per QSO spent most of its time waiting for
// it, for the million QSOs of ten logs).
Made MakeFile(std::vector<Given>& given, KeptReferences kept) {
  std::stable_sort(given.begin(), given.end(), [](const Given& a, const Given& b) {
    return std::tie(a.call, a.moment) < std::tie(b.call, b.moment);
  });
  Made made;
  LeftOutCallsigns leftOut;
  for (auto first = given.begin(); first != given.end();) {
    const auto last = std::find_if(first, given.end(),
                                   [&first](const Given& qso) { return qso.call != first->call; });
    const std::span<const Given> qsos(first, last);
    const std::vector<Tally> tallies = Count(qsos, kept);
    if (tallies.empty()) {
      leftOut.Add(MostGiven(Count(qsos, KeptReferences::kAll)).reference);
    } else {
      const Tally& chosen = MostGiven(tallies);
      made.text += first->call + "=" + std::string(chosen.reference) + "\r\n";
      ++made.lines;
      if (tallies.size() > 1) {
        made.told += Ambiguity(first->call, tallies, chosen);
      }
    }
    first = last;
  }
  made.told += leftOut.Told();
  return made;
}

// What one log says of its stations, read as the plug-in reads a QSO into
// its record (a short string cuts long texts).
class StationReader {
 public:
  void Read(std::string_view callSign, std::string_view exchange, Moment moment) {
    ++qsos;
    call_.assign(callSign);
    exchange_.assign(exchange);
    judge_.Score(exchange_.text(), detail_);
    if (detail_.reference.empty()) {
      return;  // the station sent no reference: nothing to keep or to tell
    }
    std::string call = UpperAscii(call_.text());
    if (CanNeverMatch(call)) {
      ++unmatchable[call];
      return;
    }
    given.push_back({std::move(call), detail_.reference, moment});
  }

  // The rows of an SQLite log in the table's own order, read through the
  // plug-in's own query object; they carry no time.
  void ReadTable(const OpenLog& log, const std::string& table) {
    TLogQuery query("LogQuery", log.Rows());
    query.SetText(SelectAllFrom(table));
    query.Open();
    const std::string callSign(log_column::kCallSign), exchange(log_column::kQsoReportRecived);
    for (; !query.Eof(); query.Next()) {
      const std::string call(query.FieldText(callSign));
      Read(call, query.FieldText(exchange), import::QsoTime().OrderKey());
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
      reader.Read(qso.CallSign, qso.QSOReportRecived, qso.when.OrderKey());
    }
    return;
  }
  const std::unique_ptr<OpenLog> open = OpenLog::Open(source, settings, complete);
  try {
    reader.ReadTable(*open, settings.table);
  } catch (const std::exception& failure) {
    throw HostFailure("cannot read " + NameOfFile(source.path) + ": " + failure.what());
  }
}

std::string Unmatchable(const std::map<std::string, int>& unmatchable) {
  std::string told;
  for (const auto& [call, count] : unmatchable) {
    told += "orva-host: left out callsign " + QuotedForMessage(call) + " (" + Times(count) +
            "): no lookup can match it\n";
  }
  return told;
}

// Standard error is unbuffered, and a year of logs can name tens of thousands
// of stations: the messages go out in one write.
void Tell(const std::string& told) {
  std::fwrite(told.data(), 1, told.size(), stderr);
}

// Why the reference file was not made, and that the one there stands.
std::string Kept(const std::string& path, const std::string& reason) {
  return reason + ": " + (path == "-" ? "nothing written" : NameOfFile(path) + " left as it was");
}

void TellKept(const std::string& path, const std::string& reason) {
  WriteText(stderr, "orva-host: " + Kept(path, reason) + "\n");
}

// Reads every log into `reader`. A log that gives no QSO (a Cabrillo file
// given as ADIF, an export made before the contest) is named and left out,
// and the file made from the others; false, told, when no log gave one.
bool ReadLogs(const std::vector<LogSpec>& logs, const ImportSettings& settings,
              const std::string& path, StationReader& reader, bool& complete) {
  std::vector<std::string> empty;
  for (const LogSpec& log : logs) {
    const std::size_t before = reader.qsos;
    try {
      ReadLog(log, settings, reader, complete);
    } catch (const HostFailure& failure) {
      // The reason first, then what became of the reference file, each a line.
      throw HostFailure(std::string(failure.what()) + "\norva-host: " +
                            Kept(path, NameOfFile(log.path) + " could not be read"),
                        failure.status());
    }
    if (reader.qsos == before) {
      empty.push_back(NameOfFile(log.path));
    }
  }
  if (reader.qsos == 0) {
    TellKept(path, logs.size() == 1 ? NameOfFile(logs.front().path) + " gave no QSO"
                                    : "no log gave a QSO");
    return false;
  }
  for (const std::string& log : empty) {
    WriteText(stderr,
              "orva-host: " + log + " gave no QSO: left out, the file made from the others\n");
  }
  complete = complete && empty.empty();
  return true;
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
                             const std::string& path, KeptReferences kept) {
  StationReader reader;
  bool complete = true;
  if (!ReadLogs(logs, settings, path, reader, complete)) {
    return kFailed;  // each log told as it was read
  }
  const Made made = MakeFile(reader.given, kept);
  Tell(made.told + Unmatchable(reader.unmatchable));
  if (made.lines == 0) {
    throw HostFailure(Kept(path, kept == KeptReferences::kAll
                                     ? "no QSO of the logs carried a reference"
                                     : "no QSO of the logs carried a reference of two letters "
                                       "and digits"));
  }
  // The file's own bytes, its CR LF line ends as they are.
  WriteUserFile(path, made.text);
  return complete ? kSucceeded : kIncomplete;
}

ExitStatus CheckReferenceFile(const std::string& path) {
  std::vector<Finding> findings = CheckLines(ReadUserFile(path));
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  const std::string name = NameOfFile(path);
  std::string told;
  for (const Finding& finding : findings) {
    told += name + ":" + std::to_string(finding.line) + ": " + finding.text + "\n";
  }
  WriteText(stdout, told);
  const bool onlyNotes = std::all_of(findings.begin(), findings.end(),
                                     [](const Finding& finding) { return finding.note; });
  return onlyNotes ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
