// The JSON document: every value written by the library, laid out here. Each
// entry of a long list stands on a line of its own, so that the document
// reads and compares well line by line; an entry is a small value of its
// own, written straight into the document, so that a log of 100,000 QSOs
// never stands in memory as one tree of values beside its text.
#include "host/summary/summary_json.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "host/system/file_names.h"

namespace orva::host {
namespace {

// The UTF-8 bytes of one character, which is what the library reads.
void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  static constexpr unsigned char kLeads[] = {0xC0, 0xE0, 0xF0};
  const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  out += static_cast<char>(kLeads[continuations - 1] | (c >> (6 * continuations)));
  for (int i = continuations - 1; i >= 0; --i) {
    out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
  }
}

void AppendUnicodeEscape(std::string& out, char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\u00";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

// One of the library's escapes, `escaped` the character after the
// backslash: a control character's short name as \u00XX, the rest as it is.
void AppendEscape(std::string& out, char escaped) {
  static constexpr std::string_view kShortNames = "btnfr";
  static constexpr char kControls[] = {'\b', '\t', '\n', '\f', '\r'};
  const std::size_t at = kShortNames.find(escaped);
  if (at == std::string_view::npos) {
    out += '\\';
    out += escaped;
  } else {
    AppendUnicodeEscape(out, kControls[at]);
  }
}

// The library's text, spaced and escaped as AppendJson promises. Outside
// strings it holds only JSON's own punctuation, numbers and words; inside
// them a backslash always starts an escape.
void AppendRestyled(std::string& out, std::string_view text, JsonSpacing spacing) {
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      inString = !inString;
      out += c;
    } else if (!inString) {
      out += c;
      if (spacing == JsonSpacing::kSpaced && (c == ':' || c == ',')) {
        out += ' ';
      }
    } else if (c == '\\' && i + 1 < text.size()) {
      AppendEscape(out, text[++i]);
    } else if (c == '<' || c == '>' || c == '&') {
      AppendUnicodeEscape(out, c);
    } else {
      out += c;
    }
  }
}

Json TimeValue(std::optional<Moment> time) {
  return time ? Json(FormatMoment(*time)) : Json(nullptr);
}

void AppendEntry(std::string& out, const Json& entry) {
  AppendJson(out, entry, JsonSpacing::kSpaced);
}

// A list with one entry a line, each indented by `indent` plus two.
template <class Item, class Write>
void AppendList(std::string& out, std::size_t indent, const std::vector<Item>& items, Write write) {
  if (items.empty()) {
    out += "[]";
    return;
  }
  out += "[\n";
  for (std::size_t i = 0; i < items.size(); ++i) {
    out.append(indent + 2, ' ');
    write(items[i]);
    out += i + 1 < items.size() ? ",\n" : "\n";
  }
  out.append(indent, ' ');
  out += ']';
}

// A list of entries, `entry` making the value of each.
template <class Item, class Entry>
void AppendEntries(std::string& out, std::size_t indent, const std::vector<Item>& items,
                   Entry entry) {
  AppendList(out, indent, items, [&](const Item& item) { AppendEntry(out, entry(item)); });
}

// A member of an object laid out a line a member: its indented key, then
// the value that `write` appends.
template <class Write>
void AppendMember(std::string& out, std::size_t indent, std::string_view key, Write write,
                  bool last = false) {
  out.append(indent, ' ');
  AppendEntry(out, Json(std::string(key)));
  out += ": ";
  write();
  out += last ? "\n" : ",\n";
}

Json MultiplierEntry(const SummaryQso& m) {
  Json entry;
  entry["mode"] = JsonLogText(m.mode);
  entry["band"] = JsonLogText(m.band);
  entry["reference"] = JsonLogText(m.reference);
  entry["call"] = JsonLogText(m.call);
  entry["time"] = TimeValue(m.time);
  return entry;
}

// The QSOs, points and multipliers of a line of a table, after its key.
template <class Line>
Json& PutCounts(Json& entry, const Line& line) {
  entry["qsos"] = line.qsos;
  entry["points"] = line.points;
  entry["multipliers"] = line.multipliers;
  return entry;
}

// A band and mode of one log (BandModeLine) or of all (ComparedBandMode).
template <class Line>
Json BandEntry(const Line& b) {
  Json entry;
  entry["band"] = JsonLogText(b.band);
  entry["mode"] = JsonLogText(b.mode);
  return PutCounts(entry, b);
}

// What opens an entry of the duplicates and of the 0-point QSOs.
Json QsoEntry(const SummaryQso& q) {
  Json entry;
  entry["call"] = JsonLogText(q.call);
  entry["band"] = JsonLogText(q.band);
  entry["mode"] = JsonLogText(q.mode);
  return entry;
}

Json DuplicateEntry(const SummaryQso& d) {
  Json entry = QsoEntry(d);
  entry["time"] = TimeValue(d.time);
  entry["record"] = d.record;
  entry["repeats_record"] = d.repeatsRecord;
  return entry;
}

Json ZeroPointsEntry(const SummaryQso& z) {
  Json entry = QsoEntry(z);
  entry["reference"] = JsonLogText(z.reference);
  entry["time"] = TimeValue(z.time);
  entry["record"] = z.record;
  return entry;
}

Json HourEntry(const HourLine& h) {
  Json entry;
  entry["hour"] = TimeValue(h.hour);
  for (const auto& [key, value] : {std::pair<const char*, std::int64_t>{"qsos", h.qsos},
                                   {"points", h.points},
                                   {"new_multipliers", h.newMultipliers},
                                   {"score", h.score},
                                   {"band_changes", h.bandChanges}}) {
    entry[key] = value;
  }
  return entry;
}

Json OperatingEntry(const OperatingTime& operating) {
  Json entry;
  entry["minutes"] = operating.minutes;
  entry["min_off_minutes"] = operating.minOffMinutes;
  entry["off_times"] = Json::array();
  for (const OffTime& off : operating.offTimes) {
    Json offTime;
    offTime["from"] = FormatMoment(off.from);
    offTime["to"] = FormatMoment(off.to);
    offTime["minutes"] = off.minutes;
    entry["off_times"].push_back(std::move(offTime));
  }
  return entry;
}

Json BestRateEntry(const BestRate& rate) {
  Json entry;
  entry["minutes"] = rate.minutes;
  entry["qsos"] = rate.qsos;
  entry["from"] = TimeValue(rate.from);
  return entry;
}

Json ContinentEntry(const ContinentLine& line) {
  Json entry;
  entry["continent"] = line.continent;
  return PutCounts(entry, line);
}

Json LeftOutEntry(const LeftOut& leftOut) {
  Json entry;
  entry["outside_period"] = leftOut.outsidePeriod;
  entry["skipped_records"] = leftOut.skippedRecords;
  entry["kept_without_time"] = leftOut.keptWithoutTime;
  return entry;
}

void AppendLogLists(std::string& out, const LogSummary& log) {
  constexpr std::size_t kIndent = 6;
  AppendMember(out, kIndent, "bands",
               [&] { AppendEntries(out, kIndent, log.bands, BandEntry<BandModeLine>); });
  AppendMember(out, kIndent, "multipliers_worked",
               [&] { AppendEntries(out, kIndent, log.multipliers, MultiplierEntry); });
  AppendMember(out, kIndent, "duplicates",
               [&] { AppendEntries(out, kIndent, log.duplicates, DuplicateEntry); });
  AppendMember(out, kIndent, "zero_points",
               [&] { AppendEntries(out, kIndent, log.zeroPoints, ZeroPointsEntry); });
  AppendMember(out, kIndent, "hours", [&] { AppendEntries(out, kIndent, log.hours, HourEntry); });
  AppendMember(out, kIndent, "band_changes", [&] { AppendEntry(out, log.bandChanges); });
  AppendMember(out, kIndent, "operating", [&] { AppendEntry(out, OperatingEntry(log.operating)); });
  AppendMember(out, kIndent, "best_rates",
               [&] { AppendEntries(out, kIndent, log.bestRates, BestRateEntry); });
  AppendMember(out, kIndent, "continents",
               [&] { AppendEntries(out, kIndent, log.continents, ContinentEntry); });
}

void AppendLog(std::string& out, const LogSummary& log) {
  constexpr std::size_t kIndent = 6;
  out += "{\n";
  AppendMember(out, kIndent, "name", [&] { AppendEntry(out, JsonFileName(log.name)); });
  const TReportTotals& c = log.claimed;
  for (const auto& [key, value] : {std::pair<const char*, std::int64_t>{"qsos", c.QSOs},
                                   {"points", c.Points},
                                   {"multipliers", c.Mults},
                                   {"score", c.Score}}) {
    AppendMember(out, kIndent, key, [&] { AppendEntry(out, value); });
  }
  AppendLogLists(out, log);
  AppendMember(
      out, kIndent, "left_out", [&] { AppendEntry(out, LeftOutEntry(log.leftOut)); }, true);
  out += "    }";
}

Json ComparedHourEntry(const ComparedHour& h) {
  Json entry;
  entry["hour"] = TimeValue(h.hour);
  entry["score"] = h.score;
  entry["qsos"] = h.qsos;
  entry["total_qsos"] = h.totalQsos;
  return entry;
}

void AppendComparison(std::string& out, const Comparison& comparison) {
  constexpr std::size_t kIndent = 4;
  out += "{\n";
  AppendMember(out, kIndent, "bands",
               [&] { AppendEntries(out, kIndent, comparison.bands, BandEntry<ComparedBandMode>); });
  AppendMember(out, kIndent, "multipliers_only", [&] {
    AppendList(out, kIndent, comparison.multipliersOnly, [&](const std::vector<SummaryQso>& only) {
      AppendEntries(out, kIndent + 2, only, MultiplierEntry);
    });
  });
  AppendMember(out, kIndent, "stations_only", [&] {
    AppendList(out, kIndent, comparison.stationsOnly, [&](const std::vector<std::string>& only) {
      AppendEntries(out, kIndent + 2, only, JsonLogText);
    });
  });
  AppendMember(
      out, kIndent, "hours",
      [&] { AppendEntries(out, kIndent, comparison.hours, ComparedHourEntry); }, true);
  out += "  }";
}

// Room for the whole document at once: a line of about a hundred bytes for
// each entry of a log's lists.
std::size_t ExpectedSize(const std::vector<LogSummary>& logs) {
  std::size_t entries = 0;
  for (const LogSummary& log : logs) {
    entries += log.bands.size() + log.multipliers.size() + log.duplicates.size() +
               log.zeroPoints.size() + log.hours.size();
  }
  return 1024 + 128 * entries;
}

}  // namespace

Json JsonLogText(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (const char c : text) {
    AppendUtf8(utf8, static_cast<unsigned char>(c));
  }
  return Json(std::move(utf8));
}

Json JsonFileName(std::string_view name) {
  std::string utf8;
  for (const char32_t c : NameCharacters(name)) {
    AppendUtf8(utf8, c);
  }
  return Json(std::move(utf8));
}

void AppendJson(std::string& out, const Json& value, JsonSpacing spacing) {
  AppendRestyled(out, value.dump(-1, ' ', true), spacing);
}

std::string SummaryJson(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  std::string out;
  out.reserve(ExpectedSize(logs));
  out += "{\n";
  const bool compared = logs.size() >= 2;
  AppendMember(
      out, 2, "logs",
      [&] { AppendList(out, 2, logs, [&](const LogSummary& l) { AppendLog(out, l); }); },
      !compared);
  if (compared) {
    AppendMember(
        out, 2, "comparison", [&] { AppendComparison(out, comparison); }, true);
  }
  out += "}\n";
  return out;
}

}  // namespace orva::host
