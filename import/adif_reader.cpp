// The ADI reader: a scanner that splits the bytes into data specifiers, and
// the assembly of each record's fields into a QSO for the log table.
//
// Only a specifier's length tells where its data ends, and data may hold any
// byte, '<' included; so the scanner never looks for the next tag inside
// data, and a bad specifier costs only the record it stands in. Data that
// goes on as specifiers up to its end (its record's <EOR>, the next fields)
// shows a length written too long: it is taken up to the first of them and
// the scanner goes on there, so that neither its record nor the next one is
// lost.
#include "import/adif_reader.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <span>
#include <string>

#include "base/text.h"
#include "import/bands.h"
#include "import/modes.h"

namespace orva::import {
namespace {

enum class TagKind { Field, EndOfHeader, EndOfRecord, Malformed, EndOfFile };

struct Tag {
  TagKind kind;
  std::string_view name;
  std::string_view data;
  std::string problem;  // for Malformed
  std::string note;     // for a Field whose length was too long: how it was read
};

Tag TagOf(TagKind kind, std::string_view name = {}) {
  return {kind, name, {}, {}, {}};
}

Tag Malformed(std::string problem) {
  Tag tag = TagOf(TagKind::Malformed);
  tag.problem = std::move(problem);
  return tag;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// What a specifier, from its '<' to its '>', says before any data.
struct Specifier {
  Tag tag;
  std::string_view lengthText;  // of a Field
  std::size_t length = 0;       // of a Field; npos when it is too large to hold
};

Specifier ParseSpecifier(std::string_view specifier) {
  const std::string_view inside = specifier.substr(1, specifier.size() - 2);
  const std::size_t colon = inside.find(':');
  const std::string_view name = inside.substr(0, colon);
  if (colon == std::string_view::npos) {
    static constexpr struct {
      std::string_view name;
      TagKind kind;
    } kBareTags[] = {
        {"EOR", TagKind::EndOfRecord},
        {"EOH", TagKind::EndOfHeader},
        // The online logbook's downloads end so, after the last record.
        {"APP_LoTW_EOF", TagKind::EndOfFile},
    };
    for (const auto& bare : kBareTags) {
      if (EqualIgnoringAsciiCase(name, bare.name)) {
        return {TagOf(bare.kind, name), {}, 0};
      }
    }
    return {Malformed("the field specifier " + Quoted(specifier) + " has no length"), {}, 0};
  }
  if (name.empty()) {
    return {Malformed("a field specifier has no field name"), {}, 0};
  }
  std::string_view lengthText = inside.substr(colon + 1);
  lengthText = lengthText.substr(0, lengthText.find(':'));  // the type that may follow is free
  std::size_t length = 0;
  const auto [end, error] =
      std::from_chars(lengthText.data(), lengthText.data() + lengthText.size(), length);
  if (lengthText.empty() || end != lengthText.data() + lengthText.size() ||
      (error != std::errc() && error != std::errc::result_out_of_range)) {
    return {
        Malformed("field " + Quoted(name) + ": the length " + Quoted(lengthText) + " is no number"),
        {},
        0};
  }
  return {TagOf(TagKind::Field, name), lengthText,
          error == std::errc::result_out_of_range ? std::string_view::npos : length};
}

bool IsNameByte(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_';
}

template <typename Test>
bool Consists(std::string_view text, Test test) {
  return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

// Whether the text between '<' and ':...>' is a field specifier as programs
// write one: a name of letters, digits and underscores, a length of
// digits, a type of letters. Only such specifiers show a length too long:
// free text in data may hold anything else.
bool IsPlainFieldSpecifier(std::string_view inside) {
  const std::size_t colon = inside.find(':');
  const std::size_t typeColon = inside.find(':', colon + 1);
  return Consists(inside.substr(0, colon), IsNameByte) &&
         Consists(inside.substr(colon + 1, typeColon - colon - 1), IsAsciiDigit) &&
         (typeColon == std::string_view::npos ||
          Consists(inside.substr(typeColon + 1), IsAsciiLetter));
}

class AdifScanner {
 public:
  explicit AdifScanner(std::string_view bytes) : bytes_(bytes) {}

  Tag Next() {
    const std::size_t open = bytes_.find('<', position_);
    if (open == std::string_view::npos) {
      position_ = bytes_.size();
      return TagOf(TagKind::EndOfFile);
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
    Specifier specifier = ParseSpecifier(bytes_.substr(open, close + 1 - open));
    if (specifier.tag.kind == TagKind::EndOfFile) {
      position_ = bytes_.size();  // what follows belongs to no record
    }
    return specifier.tag.kind == TagKind::Field ? TakeData(std::move(specifier))
                                                : std::move(specifier.tag);
  }

 private:
  // The field's data, as its length gives it unless that runs past it.
  Tag TakeData(Specifier specifier) {
    Tag& tag = specifier.tag;
    const std::size_t start = position_;
    const bool pastTheFile = specifier.length > bytes_.size() - start;
    const std::size_t end = pastTheFile ? bytes_.size() : start + specifier.length;
    if (const auto swallowed = SwallowedSpecifier(start, end)) {
      position_ = *swallowed;
      // The blanks before the swallowed specifier stood between two fields.
      tag.data = WithoutTrailingBlanks(bytes_.substr(start, *swallowed - start));
      tag.note = "field " + Quoted(tag.name) + ": its length " + Quoted(specifier.lengthText) +
                 " runs " + WhatItRunsInto(*swallowed) + "; read as " + Quoted(tag.data);
      return tag;
    }
    if (pastTheFile) {
      position_ = bytes_.size();
      return Malformed("field " + Quoted(tag.name) + ": its length " +
                       Quoted(specifier.lengthText) + " runs past the end of the file");
    }
    tag.data = bytes_.substr(start, specifier.length);
    position_ = end;
    return tag;
  }

  // The specifier at `at`, a well-formed one, as a note names it: a field
  // by its name, <EOR> (or another tag) as the end of the record.
  std::string WhatItRunsInto(std::size_t at) const {
    const std::size_t close = bytes_.find('>', at);
    const Specifier specifier = ParseSpecifier(bytes_.substr(at, close + 1 - at));
    return specifier.tag.kind == TagKind::Field
               ? "into the next field, " + Quoted(specifier.tag.name)
               : std::string("past the end of its record");
  }

  // Where the data from `start` to `end` gives way to specifiers that its
  // length swallowed: the first specifier inside it that starts a run of
  // specifiers, blanks between, which goes on past the data's end, or ends
  // with it after a tag that ends a record. A run that stops inside the
  // data, as a tag quoted in a comment does, or ends with it after fields
  // alone, is data as written.
  std::optional<std::size_t> SwallowedSpecifier(std::size_t start, std::size_t end) const {
    for (std::size_t at = bytes_.find('<', start); at < end;) {
      const std::optional<std::size_t> stop = EndOfRun(at, end);
      if (!stop) {
        return at;
      }
      at = bytes_.find('<', std::max(*stop, at + 1));
    }
    return std::nullopt;
  }

  // Where the run of specifiers from `at` stops inside the data that ends at
  // `end`; nothing when it reaches past the data's end, or to it after a tag
  // that ends a record.
  std::optional<std::size_t> EndOfRun(std::size_t at, std::size_t end) const {
    bool endsRecord = false;
    while (at < end && bytes_[at] == '<') {
      const std::size_t close = bytes_.find_first_of("<>", at + 1);
      if (close == std::string_view::npos || bytes_[close] == '<') {
        return at;
      }
      const Specifier specifier = ParseSpecifier(bytes_.substr(at, close + 1 - at));
      if (specifier.tag.kind == TagKind::Malformed ||
          (specifier.tag.kind == TagKind::Field &&
           !IsPlainFieldSpecifier(bytes_.substr(at + 1, close - at - 1)))) {
        return at;
      }
      endsRecord = endsRecord || specifier.tag.kind != TagKind::Field;
      const std::size_t next = close + 1;
      if (next > end || (specifier.tag.kind == TagKind::Field && specifier.length > end - next)) {
        return std::nullopt;
      }
      at = next + (specifier.tag.kind == TagKind::Field ? specifier.length : 0);
      while (at < end && IsBlank(bytes_[at])) {
        ++at;
      }
    }
    if (at == end && endsRecord) {
      return std::nullopt;
    }
    return at;
  }

  std::string_view bytes_;
  std::size_t position_ = 0;
};

// Adds a note to those of one record, "; " between two.
void AppendNote(std::string& notes, std::string_view note) {
  if (!note.empty()) {
    notes += notes.empty() ? "" : "; ";
    notes += note;
  }
}

// The fields of one record that the log table needs, as they stand in the
// file; an empty field counts as absent, as the format defines.
struct PendingRecord {
  explicit PendingRecord(const std::vector<std::string>& exchangeFields)
      : exchangeFields(&exchangeFields), exchangeParts(exchangeFields.size()) {}

  std::string_view call, band, frequency, mode, submode, exchangeText, exchangeNumber, island,
      continent, prefix, ituZone, date, time;
  const std::vector<std::string>* exchangeFields;
  std::vector<std::string_view> exchangeParts;  // the data of each of exchangeFields
  std::string problem;                          // the first malformed specifier of the record
  std::string notes;                            // how fields of too long a length were read
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
        {"CALL", &PendingRecord::call},          {"BAND", &PendingRecord::band},
        {"FREQ", &PendingRecord::frequency},     {"MODE", &PendingRecord::mode},
        {"SUBMODE", &PendingRecord::submode},    {"SRX_STRING", &PendingRecord::exchangeText},
        {"SRX", &PendingRecord::exchangeNumber}, {"IOTA", &PendingRecord::island},
        {"CONT", &PendingRecord::continent},     {"PFX", &PendingRecord::prefix},
        {"ITUZ", &PendingRecord::ituZone},       {"QSO_DATE", &PendingRecord::date},
        {"TIME_ON", &PendingRecord::time},
    };
    for (const auto& known : kFields) {
      if (EqualIgnoringAsciiCase(name, known.name)) {
        this->*known.field = data;
        return;
      }
    }
  }

  void Note(std::string_view note) { AppendNote(notes, note); }

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
// out, which puts the QSO after those with a time; the note says so.
std::string TakeDateAndTime(const PendingRecord& record, ImportedQso& qso) {
  const std::string_view date = Trim(record.date);
  const std::string_view time = Trim(record.time);
  qso.when = QsoTime(DayOf(date, Written::kDigits), TimeOf(time, Written::kDigits));
  std::string note;
  if (!qso.when.HasDate() && !date.empty()) {
    note = "QSO_DATE " + Quoted(date) + " is no date (YYYYMMDD)";
  }
  if (!qso.when.HasTime() && !time.empty()) {
    note +=
        (note.empty() ? "" : ", ") + ("TIME_ON " + Quoted(time) + " is no time (HHMM or HHMMSS)");
  }
  return note.empty() ? note : note + "; read without it";
}

void Finish(const PendingRecord& record, std::size_t number, ImportedLog& log) {
  // A field cut short of its length may be why a record lacks another one.
  const auto skip = [&](std::string reason) {
    AppendNote(reason, record.notes);
    log.skipped.push_back({number, std::move(reason)});
  };
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
  qso.QSOMode = ModeOf(record.mode, record.submode);
  qso.QSOReportRecived = record.Exchange();
  qso.MainPrefix = Trim(record.prefix);
  qso.Continent = Trim(record.continent);
  qso.ITUZone = Trim(record.ituZone);
  std::string notes = record.notes;
  AppendNote(notes, TakeDateAndTime(record, qso));
  if (qso.QSOMode.empty()) {
    AppendNote(notes,
               "no MODE: read without one, which counts as a mode of its own for duplicates "
               "and multipliers");
  }
  if (!notes.empty()) {
    log.noted.push_back({number, std::move(notes)});
  }
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
        record.Note(tag.note);
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
