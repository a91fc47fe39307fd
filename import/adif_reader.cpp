// The ADI reader: a scanner that splits the bytes into data specifiers, and
// the assembly of each record's fields into a QSO for the log table.
//
// Only a specifier's length tells where its data ends, and data may hold any
// byte, '<' included; so the scanner never looks for the next tag inside
// data, and a bad specifier costs only the record it stands in.
#include "import/adif_reader.h"

#include <charconv>
#include <optional>
#include <span>
#include <string>

#include "base/text.h"
#include "import/bands.h"

namespace orva::import {
namespace {

enum class TagKind { Field, EndOfHeader, EndOfRecord, Malformed, EndOfFile };

struct Tag {
  TagKind kind;
  std::string_view name;
  std::string_view data;
  std::string problem;  // for Malformed
};

Tag Malformed(std::string problem) {
  return {TagKind::Malformed, {}, {}, std::move(problem)};
}

class AdifScanner {
 public:
  explicit AdifScanner(std::string_view bytes) : bytes_(bytes) {}

  Tag Next() {
    const std::size_t open = bytes_.find('<', position_);
    if (open == std::string_view::npos) {
      position_ = bytes_.size();
      return {TagKind::EndOfFile, {}, {}, {}};
    }
    const std::size_t close = bytes_.find_first_of("<>", open + 1);
    if (close == std::string_view::npos) {
      position_ = bytes_.size();
      return Malformed("the field specifier " + Quoted(bytes_.substr(open)) +
                       " is cut off by the end of the file");
    }
    if (bytes_[close] == '<') {
      // A lone '<' in free text: the next '<' may start a good specifier.
      position_ = close;
      return Malformed(Quoted(bytes_.substr(open, close - open)) + " is no field specifier");
    }
    position_ = close + 1;
    return Specifier(bytes_.substr(open, close + 1 - open));
  }

 private:
  // The specifier from its '<' to its '>'.
  Tag Specifier(std::string_view specifier) {
    const std::string_view inside = specifier.substr(1, specifier.size() - 2);
    const std::size_t colon = inside.find(':');
    const std::string_view name = inside.substr(0, colon);
    if (colon == std::string_view::npos) {
      if (EqualIgnoringAsciiCase(name, "EOR")) {
        return {TagKind::EndOfRecord, name, {}, {}};
      }
      if (EqualIgnoringAsciiCase(name, "EOH")) {
        return {TagKind::EndOfHeader, name, {}, {}};
      }
      return Malformed("the field specifier " + Quoted(specifier) + " has no length");
    }
    if (name.empty()) {
      return Malformed("a field specifier has no field name");
    }
    std::string_view lengthText = inside.substr(colon + 1);
    lengthText = lengthText.substr(0, lengthText.find(':'));  // the type that may follow is free
    std::size_t length = 0;
    const auto [end, error] =
        std::from_chars(lengthText.data(), lengthText.data() + lengthText.size(), length);
    if (lengthText.empty() || end != lengthText.data() + lengthText.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
      return Malformed("field " + Quoted(name) + ": the length " + Quoted(lengthText) +
                       " is no number");
    }
    if (error == std::errc::result_out_of_range || length > bytes_.size() - position_) {
      position_ = bytes_.size();
      return Malformed("field " + Quoted(name) + ": its length " + Quoted(lengthText) +
                       " runs past the end of the file");
    }
    const std::string_view data = bytes_.substr(position_, length);
    position_ += length;
    return {TagKind::Field, name, data, {}};
  }

  std::string_view bytes_;
  std::size_t position_ = 0;
};

// The fields of one record that the log table needs, as they stand in the
// file; an empty field counts as absent, as the format defines.
struct PendingRecord {
  explicit PendingRecord(const std::vector<std::string>& exchangeFields)
      : exchangeFields(&exchangeFields), exchangeParts(exchangeFields.size()) {}

  std::string_view call, band, frequency, mode, exchangeText, exchangeNumber, island, continent,
      prefix, ituZone, date, time;
  const std::vector<std::string>* exchangeFields;
  std::vector<std::string_view> exchangeParts;  // the data of each of exchangeFields
  std::string problem;                          // the first malformed specifier of the record
  bool started = false;

  void Take(std::string_view name, std::string_view data) {
    started = true;
    if (data.empty()) {
      return;
    }
    for (std::size_t i = 0; i < exchangeParts.size(); ++i) {
      if (EqualIgnoringAsciiCase(name, (*exchangeFields)[i])) {
        exchangeParts[i] = data;
      }
    }
    static constexpr struct {
      std::string_view name;
      std::string_view PendingRecord::*field;
    } kFields[] = {
        {"CALL", &PendingRecord::call},
        {"BAND", &PendingRecord::band},
        {"FREQ", &PendingRecord::frequency},
        {"MODE", &PendingRecord::mode},
        {"SRX_STRING", &PendingRecord::exchangeText},
        {"SRX", &PendingRecord::exchangeNumber},
        {"IOTA", &PendingRecord::island},
        {"CONT", &PendingRecord::continent},
        {"PFX", &PendingRecord::prefix},
        {"ITUZ", &PendingRecord::ituZone},
        {"QSO_DATE", &PendingRecord::date},
        {"TIME_ON", &PendingRecord::time},
    };
    for (const auto& known : kFields) {
      if (EqualIgnoringAsciiCase(name, known.name)) {
        this->*known.field = data;
        return;
      }
    }
  }

  void Fail(std::string reason) {
    started = true;
    if (problem.empty()) {
      problem = std::move(reason);
    }
  }

  std::string Exchange() const {
    if (!exchangeParts.empty()) {
      return Joined(exchangeParts);
    }
    // Island contests log the reference in IOTA and the serial in SRX or
    // SRX_STRING; the reference ends the exchange, as the rules read it.
    std::string exchange(exchangeText.empty() ? exchangeNumber : exchangeText);
    const std::string_view reference = Trim(island);
    const std::string_view given = Trim(exchange);
    if (!reference.empty() &&
        (given.size() < reference.size() ||
         !EqualIgnoringAsciiCase(given.substr(given.size() - reference.size()), reference))) {
      AppendExchangeField(exchange, reference);
    }
    return exchange;
  }

  static std::string Joined(std::span<const std::string_view> parts) {
    std::string exchange;
    for (const std::string_view part : parts) {
      if (!part.empty()) {
        AppendExchangeField(exchange, part);
      }
    }
    return exchange;
  }
};

// The band of the record, or the reason it has none.
bool FindBand(const PendingRecord& record, std::string_view& band, std::string& reason) {
  std::optional<std::string_view> found;
  if (const std::string_view name = Trim(record.band); !name.empty()) {
    found = BandOfName(name);
    reason = "unknown band " + Quoted(name);
  } else if (const std::string_view frequency = Trim(record.frequency); !frequency.empty()) {
    const auto hertz = ParseFrequency(frequency, kHertzPerMegahertz);
    found = hertz ? BandOfFrequency(*hertz) : std::nullopt;
    reason = hertz ? "the frequency " + Quoted(frequency) + " MHz lies in no band"
                   : "the frequency " + Quoted(frequency) + " is no number";
  } else {
    reason = "no BAND and no FREQ";
  }
  if (found) {
    band = *found;
  }
  return found.has_value();
}

// The record's date and time as the QSO keeps them. A malformed one is left
// out, which puts the QSO after those with a time, and noted.
void TakeDateAndTime(const PendingRecord& record, ImportedQso& qso, ImportedLog& log) {
  const std::string_view date = Trim(record.date);
  const std::string_view time = Trim(record.time);
  qso.date = DateOfDigits(date);
  qso.time = TimeOfDigits(time);
  std::string note;
  if (qso.date.empty() && !date.empty()) {
    note = "QSO_DATE " + Quoted(date) + " is no date (YYYYMMDD)";
  }
  if (qso.time.empty() && !time.empty()) {
    note +=
        (note.empty() ? "" : ", ") + ("TIME_ON " + Quoted(time) + " is no time (HHMM or HHMMSS)");
  }
  if (!note.empty()) {
    log.noted.push_back({qso.record, note + "; read without it"});
  }
}

void Finish(const PendingRecord& record, std::size_t number, ImportedLog& log) {
  const auto skip = [&](std::string reason) { log.skipped.push_back({number, std::move(reason)}); };
  if (!record.problem.empty()) {
    return skip(record.problem);
  }
  const std::string_view call = Trim(record.call);
  if (call.empty()) {
    return skip("no CALL");
  }
  std::string_view band;
  if (std::string reason; !FindBand(record, band, reason)) {
    return skip(std::move(reason));
  }
  ImportedQso& qso = log.qsos.emplace_back();
  qso.record = number;
  // Both formats take calls in any letter case, and the plug-in compares
  // them byte for byte: a repeat written in lower case is still a repeat.
  qso.CallSign = UpperAscii(call);
  qso.DigiBand = band;
  qso.QSOMode = UpperAscii(Trim(record.mode));
  qso.QSOReportRecived = record.Exchange();
  qso.MainPrefix = Trim(record.prefix);
  qso.Continent = Trim(record.continent);
  qso.ITUZone = Trim(record.ituZone);
  TakeDateAndTime(record, qso, log);
}

// Names each exchange field that no record held: a misspelt name would
// otherwise score every QSO as one without a reference.
void RemarkAbsentFields(const std::vector<std::string>& fields, const std::vector<bool>& held,
                        ImportedLog& log) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!held[i]) {
      log.remarks.push_back("no record holds the exchange field " + Quoted(fields[i]));
    }
  }
}

}  // namespace

ImportedLog ReadAdif(std::string_view bytes, const std::vector<std::string>& exchangeFields) {
  ImportedLog log;
  const auto text = EightBitText(bytes, log);
  if (!text) {
    return log;
  }
  AdifScanner scanner(*text);
  PendingRecord record(exchangeFields);
  std::size_t number = 0;
  std::vector<bool> held(exchangeFields.size());
  const auto finish = [&] {
    Finish(record, ++number, log);
    for (std::size_t i = 0; i < held.size(); ++i) {
      held[i] = held[i] || !record.exchangeParts[i].empty();
    }
    record = PendingRecord(exchangeFields);
  };
  for (;;) {
    Tag tag = scanner.Next();
    switch (tag.kind) {
      case TagKind::Field:
        record.Take(tag.name, tag.data);
        break;
      case TagKind::Malformed:
        record.Fail(std::move(tag.problem));
        break;
      case TagKind::EndOfHeader:
        // What came before was a header (of this file, or of another one
        // appended to it), not a record.
        record = PendingRecord(exchangeFields);
        break;
      case TagKind::EndOfRecord:
        finish();
        break;
      case TagKind::EndOfFile:
        if (record.started) {
          record.Fail("the file ends inside the record (no <EOR>)");
          finish();
        }
        RemarkAbsentFields(exchangeFields, held, log);
        return log;
    }
  }
}

}  // namespace orva::import
