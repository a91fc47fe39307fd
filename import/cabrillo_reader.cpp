// The Cabrillo reader: the log split into lines and fields, and each QSO:
// line's fields mapped to a QSO for the log table.
#include "import/cabrillo_reader.h"

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "import/bands.h"

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

// The format's modes, written as the interchange format and logging
// programs name them, so a log scores alike whichever format it came in;
// digital modes other than RTTY have no one name there and keep theirs.
constexpr Designator kModes[] = {
    {"CW", "CW"}, {"PH", "SSB"}, {"FM", "FM"}, {"RY", "RTTY"}, {"DG", "DG"},
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

std::string Joined(const std::vector<std::string_view>& fields, std::size_t first,
                   std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count; ++i) {
    AppendExchangeField(text, fields[i]);
  }
  return text;
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

// The QSO of one line's fields after the tag, or the reason there is none.
std::optional<ImportedQso> ReadQso(const std::vector<std::string_view>& fields,
                                   std::string& reason) {
  if (fields.size() < kFewestFields) {
    reason = "a QSO line needs frequency, mode, date, time and two callsigns";
    return std::nullopt;
  }
  const auto band = BandOf(fields[0]);
  const auto mode = Lookup(kModes, fields[1]);
  if (!band || !mode) {
    reason = !band ? "unknown band or frequency " + Quoted(fields[0])
                   : "unknown mode " + Quoted(fields[1]);
    return std::nullopt;
  }
  if (!Matches(fields[2], "9999-99-99") || !Matches(fields[3], "9999")) {
    reason = "the date and time " + Quoted(Joined(fields, 2, 2)) + " are not YYYY-MM-DD HHMM";
    return std::nullopt;
  }
  const std::size_t callsAndExchanges = fields.size() - kWorkedFieldsStart;
  const bool transmitter = callsAndExchanges % 2 == 1;
  if (transmitter && !Matches(fields.back(), "9")) {
    reason =
        "the sent and the received exchange differ in length, so the worked callsign "
        "cannot be told";
    return std::nullopt;
  }
  const std::size_t exchangeLength = (callsAndExchanges - transmitter) / 2 - 1;
  const std::size_t worked = kWorkedFieldsStart + 1 + exchangeLength;
  ImportedQso qso;
  qso.CallSign = fields[worked];
  qso.DigiBand = *band;
  qso.QSOMode = *mode;
  qso.QSOReportRecived = ReceivedExchange(fields, worked + 1, exchangeLength);
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

}  // namespace

ImportedLog ReadCabrillo(std::string_view bytes) {
  ImportedLog log;
  const auto file = EightBitText(bytes, log);
  if (!file) {
    return log;
  }
  std::string_view text = *file;
  std::vector<std::string_view> fields;
  std::size_t number = 0;
  for (std::size_t lineNumber = 1; !text.empty(); ++lineNumber) {
    const std::string_view line = NextLine(text);
    const std::size_t colon = line.find(':');
    const std::string_view tag = Trim(line.substr(0, colon));
    if (colon == std::string_view::npos || !EqualIgnoringAsciiCase(tag, "QSO")) {
      if (EqualIgnoringAsciiCase(tag, "END-OF-LOG")) {
        break;
      }
      continue;
    }
    ++number;
    SplitFields(line.substr(colon + 1), fields);
    std::string reason;
    if (auto qso = ReadQso(fields, reason)) {
      log.qsos.push_back(std::move(*qso));
    } else {
      log.skipped.push_back({number, "line " + std::to_string(lineNumber) + ": " + reason});
    }
  }
  return log;
}

}  // namespace orva::import
