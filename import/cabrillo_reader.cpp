// The Cabrillo reader: the log split into lines and fields, its header's own
// callsigns, each QSO: line's fields mapped to a QSO for the log table by the
// layout the log's lines show together (cabrillo_layout.h), and a file cut
// off in its last line told as such.
#include "import/cabrillo_reader.h"

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "import/bands.h"
#include "import/cabrillo_layout.h"
#include "import/modes.h"

namespace orva::import {
namespace {

// Frequency, mode, date, time, and the two callsigns.
constexpr std::size_t kFewestFields = 6;

struct Designator {
  std::string_view text;
  std::string_view band;
};

// The bands from 50 MHz up may be named instead of given in kHz.
constexpr Designator kBandDesignators[] = {
    {"50", "6M"},    {"70", "4M"},      {"144", "2M"},      {"222", "1.25M"}, {"432", "70CM"},
    {"902", "33CM"}, {"1.2G", "23CM"},  {"2.3G", "13CM"},   {"3.4G", "9CM"},  {"5.7G", "6CM"},
    {"10G", "3CM"},  {"24G", "1.25CM"}, {"47G", "6MM"},     {"75G", "4MM"},   {"122G", "2.5MM"},
    {"134G", "2MM"}, {"241G", "1MM"},   {"LIGHT", "LIGHT"},
};

template <std::size_t N>
std::optional<std::string_view> Lookup(const Designator (&table)[N], std::string_view text) {
  for (const Designator& entry : table) {
    if (EqualIgnoringAsciiCase(entry.text, text)) {
      return entry.band;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> BandOf(std::string_view frequency) {
  if (const auto named = Lookup(kBandDesignators, frequency)) {
    return named;
  }
  const auto hertz = ParseFrequency(frequency, kHertzPerKilohertz);
  return hertz ? BandOfFrequency(*hertz) : std::nullopt;
}

void SplitFields(std::string_view text, std::vector<std::string_view>& fields,
                 std::string_view separators = " \t") {
  fields.clear();
  for (;;) {
    const std::size_t start = text.find_first_not_of(separators);
    if (start == std::string_view::npos) {
      return;
    }
    text.remove_prefix(start);
    const std::size_t end = text.find_first_of(separators);
    fields.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
  }
}

// Contest templates fill a received field that was not given with hyphens
// ("---", or "------" in the width of a reference); read as part of the
// exchange, six of them would pass for a reference and score a QSO as worth
// nothing, so such a placeholder is left out.
bool IsPlaceholder(std::string_view field) {
  return field.find_first_not_of('-') == std::string_view::npos;
}

std::string ReceivedExchange(const std::vector<std::string_view>& fields,
                             const ReceivedFields& received) {
  std::string exchange;
  for (std::size_t i = received.first; i < received.end; ++i) {
    if (!IsPlaceholder(fields[i])) {
      AppendExchangeField(exchange, fields[i]);
    }
  }
  return exchange;
}

// The line's date and time into the QSO; what was wrong with them, if anything.
std::string TakeDateAndTime(std::string_view date, std::string_view time, ImportedQso& qso) {
  // Only the four digits HHMM: a Cabrillo line gives no seconds.
  const QsoTime when(DayOf(date, Written::kSeparated),
                     time.size() == 4 ? TimeOf(time, Written::kDigits) : std::nullopt);
  if (when.At()) {
    qso.when = when;
    return {};
  }
  return "the date and time " + Quoted(std::string(date) + " " + std::string(time)) +
         " are not YYYY-MM-DD HHMM: read without them";
}

constexpr char kNoWorkedCall[] =
    "no word after the sent callsign and exchange is shaped as a callsign (letters and digits, "
    "a letter last, as DL1ABC or PA/DL1ABC/P): check the worked callsign on this line";

std::string JoinNotes(const std::string& first, const std::string& second) {
  return first.empty() || second.empty() ? first + second : first + "; " + second;
}

// What the layout made of a line that differs from the log's usual one.
std::string LayoutNote(const ReceivedFields& received, const CabrilloLayout& layout) {
  if (!received.remark.empty()) {
    return Quoted(received.remark) +
           " after the received exchange is taken for a remark and left out: most of the "
           "log's lines hold " +
           std::to_string(layout.UsualReceivedCount()) + " fields after the worked callsign";
  }
  if (received.missing == 1) {
    return "one field short of the log's other lines: read with the last received field empty";
  }
  if (received.missing > 1) {
    const std::string count = std::to_string(received.missing);
    return count + " fields short of the log's other lines: read with the last " + count +
           " received fields empty";
  }
  return {};
}

// The QSO of one line, or the reason there is none; `note` tells what was
// assumed to read it.
std::optional<ImportedQso> ReadQso(const CabrilloLine& line, const CabrilloLayout& layout,
                                   std::string& reason, std::string& note) {
  const std::vector<std::string_view>& fields = line.fields;
  if (fields.size() < kFewestFields) {
    reason = "a QSO line needs frequency, mode, date, time and two callsigns";
    return std::nullopt;
  }
  const auto band = BandOf(fields[0]);
  if (!band) {
    reason = "unknown band or frequency " + Quoted(fields[0]);
    return std::nullopt;
  }
  const auto worked = layout.WorkedCall(line);
  if (!worked) {
    reason = kNoWorkedCall;
    return std::nullopt;
  }
  const ReceivedFields received = layout.Received(line, *worked);
  ImportedQso qso;
  qso.CallSign = UpperAscii(fields[*worked]);
  qso.DigiBand = *band;
  qso.QSOMode = ModeOf(fields[1]);
  qso.QSOReportRecived = ReceivedExchange(fields, received);
  note = JoinNotes(TakeDateAndTime(fields[2], fields[3], qso), LayoutNote(received, layout));
  return qso;
}

// Splits off the next line, whatever its end: CR LF, LF or a lone CR.
std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos) {
    text = {};
  } else {
    text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  return line;
}

// The log as the reader needs it: its QSO: lines up to END-OF-LOG:, the
// header's callsigns of the station and its operators, and the number of
// the last line if the file ends in the middle of it without END-OF-LOG:,
// as a file does that was cut off while it was written or copied.
struct CabrilloText {
  std::vector<CabrilloLine> qsoLines;
  std::vector<std::string> ownCalls;
  std::size_t cutLine = 0;
};

// OPERATORS: lists callsigns between blanks or commas, the station's host
// marked with '@'.
void TakeOwnCalls(std::string_view value, std::vector<std::string>& calls) {
  std::vector<std::string_view> words;
  SplitFields(value, words, " \t,");
  for (std::string_view word : words) {
    word.remove_prefix(word.front() == '@' ? 1 : 0);
    if (!word.empty()) {
      calls.emplace_back(word);
    }
  }
}

CabrilloText SplitLog(std::string_view text) {
  CabrilloText log;
  const bool endsInLineBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
  std::size_t lineNumber = 0;
  std::string_view line;
  while (!text.empty()) {
    line = NextLine(text);
    ++lineNumber;
    const std::size_t colon = line.find(':');
    const std::string_view tag = Trim(line.substr(0, colon));
    if (EqualIgnoringAsciiCase(tag, "END-OF-LOG")) {
      return log;
    }
    if (colon == std::string_view::npos) {
      continue;
    }
    const std::string_view value = line.substr(colon + 1);
    if (EqualIgnoringAsciiCase(tag, "QSO")) {
      log.qsoLines.push_back({lineNumber, line, {}});
      SplitFields(value, log.qsoLines.back().fields);
    } else if (EqualIgnoringAsciiCase(tag, "CALLSIGN") ||
               EqualIgnoringAsciiCase(tag, "OPERATORS")) {
      TakeOwnCalls(value, log.ownCalls);
    }
  }
  log.cutLine = endsInLineBreak || Trim(line).empty() ? 0 : lineNumber;
  return log;
}

// What the operator is told of a log cut off in its last line: whether that
// line was a QSO, and whether it could be read.
std::string CutOffRemark(std::size_t line, bool qsoLine, const std::string& reason) {
  const std::string cut = "the log ends without END-OF-LOG: and its last line, line " +
                          std::to_string(line) + ", is cut off";
  if (!qsoLine) {
    return cut + ": export the log again if QSOs are missing";
  }
  if (reason.empty()) {
    return cut + ": its QSO is read as far as it goes; check it, or export the log again";
  }
  return cut + ": left out, as " + reason + "; export the log again to score it";
}

}  // namespace

ImportedLog ReadCabrillo(std::string_view bytes) {
  ImportedLog log;
  const auto text = EightBitText(bytes, log);
  if (!text) {
    return log;
  }
  CabrilloText cabrillo = SplitLog(*text);
  const CabrilloLayout layout(cabrillo.qsoLines, std::move(cabrillo.ownCalls));
  std::size_t number = 0;
  bool cutQso = false;
  for (const CabrilloLine& line : cabrillo.qsoLines) {
    const std::string where = "line " + std::to_string(line.number) + ": ";
    std::string reason, note;
    auto qso = ReadQso(line, layout, reason, note);
    if (line.number == cabrillo.cutLine) {
      cutQso = true;
      log.remarks.push_back(CutOffRemark(line.number, true, reason));
    }
    if (qso) {
      qso->record = ++number;
      log.qsos.push_back(std::move(*qso));
      if (!note.empty()) {
        log.noted.push_back({number, where + note});
      }
    } else if (!cutQso) {
      log.skipped.push_back({++number, where + reason});
    }
  }
  if (cabrillo.cutLine != 0 && !cutQso) {
    log.remarks.push_back(CutOffRemark(cabrillo.cutLine, false, {}));
  }
  return log;
}

}  // namespace orva::import
