// The Cabrillo reader: the log split into lines and fields, the field counts
// that show the contest's line template, and each QSO: line's fields mapped
// to a QSO for the log table.
#include "import/cabrillo_reader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "import/bands.h"
#include "import/modes.h"

namespace orva::import {
namespace {

// Frequency, mode, date, time, and the two callsigns.
constexpr std::size_t kFewestFields = 6;
constexpr std::size_t kWorkedFieldsStart = 4;  // the sent callsign

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

// Digits where the pattern has '9', the pattern's own byte elsewhere.
bool Matches(std::string_view text, std::string_view pattern) {
  if (text.size() != pattern.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) {
      return false;
    }
  }
  return true;
}

void SplitFields(std::string_view text, std::vector<std::string_view>& fields) {
  fields.clear();
  for (;;) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
      return;
    }
    text.remove_prefix(start);
    const std::size_t end = text.find_first_of(" \t");
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

std::string ReceivedExchange(const std::vector<std::string_view>& fields, std::size_t first,
                             std::size_t count) {
  std::string exchange;
  for (std::size_t i = first; i < first + count; ++i) {
    if (!IsPlaceholder(fields[i])) {
      AppendExchangeField(exchange, fields[i]);
    }
  }
  return exchange;
}

// How many QSO lines of the log have each number of fields: the contest's
// line template shows in the count most of them have.
class LineShapes {
 public:
  void Count(std::size_t fields) { ++lines_[fields]; }
  bool Has(std::size_t fields) const { return lines_.count(fields) > 0; }
  bool MostHave(std::size_t fields) const {
    std::size_t most = 0;
    for (const auto& [count, lines] : lines_) {
      most = std::max(most, lines);
    }
    return Has(fields) && lines_.at(fields) == most;
  }

 private:
  std::map<std::size_t, std::size_t> lines_;
};

// Where a line's fields stand: the length of each exchange (the sent and the
// received one are equal), and whether the last received field was left out.
struct Layout {
  std::size_t exchangeLength;
  bool oneShort;
};

// With an odd number of fields after the time, the line ends either in a
// transmitter number or one field short of its template, when the empty
// last received field was left out instead of written as hyphens. The log's
// other lines tell which, where a lone digit at the end could be either.
std::optional<Layout> LayoutOf(const std::vector<std::string_view>& fields,
                               const LineShapes& shapes) {
  const std::size_t callsAndExchanges = fields.size() - kWorkedFieldsStart;
  if (callsAndExchanges % 2 == 0) {
    return Layout{callsAndExchanges / 2 - 1, false};
  }
  const bool transmitter = Matches(fields.back(), "9");
  const std::size_t full = fields.size() + 1;
  if (shapes.Has(full) && (!transmitter || shapes.MostHave(full))) {
    return Layout{(callsAndExchanges + 1) / 2 - 1, true};
  }
  if (transmitter) {
    return Layout{(callsAndExchanges - 1) / 2 - 1, false};
  }
  return std::nullopt;
}

// The line's date and time into the QSO; what was wrong with them, if anything.
std::string TakeDateAndTime(std::string_view date, std::string_view time, ImportedQso& qso) {
  if (Matches(date, "9999-99-99")) {
    qso.date = DateOfDigits(std::string(date.substr(0, 4)) + std::string(date.substr(5, 2)) +
                            std::string(date.substr(8, 2)));
  }
  if (time.size() == 4) {
    qso.time = TimeOfDigits(time);
  }
  if (!qso.date.empty() && !qso.time.empty()) {
    return {};
  }
  qso.date.clear();
  qso.time.clear();
  return "the date and time " + Quoted(std::string(date) + " " + std::string(time)) +
         " are not YYYY-MM-DD HHMM: read without them";
}

// The QSO of one line's fields after the tag, or the reason there is none;
// `note` tells what was assumed to read it.
std::optional<ImportedQso> ReadQso(const std::vector<std::string_view>& fields,
                                   const LineShapes& shapes, std::string& reason,
                                   std::string& note) {
  if (fields.size() < kFewestFields) {
    reason = "a QSO line needs frequency, mode, date, time and two callsigns";
    return std::nullopt;
  }
  const auto band = BandOf(fields[0]);
  if (!band) {
    reason = "unknown band or frequency " + Quoted(fields[0]);
    return std::nullopt;
  }
  const auto layout = LayoutOf(fields, shapes);
  if (!layout) {
    reason =
        "the sent and the received exchange differ in length, so the worked callsign "
        "cannot be told";
    return std::nullopt;
  }
  const std::size_t worked = kWorkedFieldsStart + 1 + layout->exchangeLength;
  ImportedQso qso;
  qso.CallSign = UpperAscii(fields[worked]);
  qso.DigiBand = *band;
  qso.QSOMode = ModeOf(fields[1]);
  qso.QSOReportRecived =
      ReceivedExchange(fields, worked + 1, layout->exchangeLength - layout->oneShort);
  note = TakeDateAndTime(fields[2], fields[3], qso);
  if (layout->oneShort) {
    note += (note.empty() ? "" : "; ") + std::string(
                                             "one field short of the log's other lines: read "
                                             "with the last received field empty");
  }
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

// Calls `take(lineNumber, fields)` for every QSO: line up to END-OF-LOG:,
// with the fields after its tag.
template <typename Take>
void ForEachQsoLine(std::string_view text, Take take) {
  std::vector<std::string_view> fields;
  for (std::size_t lineNumber = 1; !text.empty(); ++lineNumber) {
    const std::string_view line = NextLine(text);
    const std::size_t colon = line.find(':');
    const std::string_view tag = Trim(line.substr(0, colon));
    if (colon == std::string_view::npos || !EqualIgnoringAsciiCase(tag, "QSO")) {
      if (EqualIgnoringAsciiCase(tag, "END-OF-LOG")) {
        return;
      }
      continue;
    }
    SplitFields(line.substr(colon + 1), fields);
    take(lineNumber, fields);
  }
}

}  // namespace

ImportedLog ReadCabrillo(std::string_view bytes) {
  ImportedLog log;
  const auto text = EightBitText(bytes, log);
  if (!text) {
    return log;
  }
  LineShapes shapes;
  ForEachQsoLine(*text, [&](std::size_t, const std::vector<std::string_view>& fields) {
    shapes.Count(fields.size());
  });
  std::size_t number = 0;
  ForEachQsoLine(*text, [&](std::size_t lineNumber, const std::vector<std::string_view>& fields) {
    const auto where = [lineNumber] { return "line " + std::to_string(lineNumber) + ": "; };
    std::string reason, note;
    if (auto qso = ReadQso(fields, shapes, reason, note)) {
      qso->record = ++number;
      log.qsos.push_back(std::move(*qso));
      if (!note.empty()) {
        log.noted.push_back({number, where() + note});
      }
    } else {
      log.skipped.push_back({++number, where() + reason});
    }
  });
  return log;
}

}  // namespace orva::import
