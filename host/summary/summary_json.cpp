// The JSON document written by hand: its shape is small and fixed, and the
// escaping of single-byte texts (see summary_json.h) is the one thing a JSON
// library would not do for us. Each entry of a long list stands on a line of
// its own, so that the document reads and compares well line by line.
#include "host/summary/summary_json.h"

#include "host/system/file_names.h"

namespace orva::host {
namespace {

// One object of plain values on one line: {"a": 1, "b": "x"}.
class Fields {
 public:
  explicit Fields(std::string& out) : out_(out) { out_ += '{'; }
  Fields(const Fields&) = delete;
  Fields& operator=(const Fields&) = delete;
  ~Fields() { out_ += '}'; }

  Fields& Text(std::string_view key, std::string_view value) {
    Key(key);
    AppendJsonString(out_, value);
    return *this;
  }
  Fields& Number(std::string_view key, std::int64_t value) {
    Key(key);
    out_ += std::to_string(value);
    return *this;
  }
  Fields& Time(std::string_view key, std::optional<Moment> value) {
    return value ? Text(key, FormatMoment(*value)) : Raw(key, "null");
  }
  // A value written by the caller, or by `write` after the key.
  Fields& Raw(std::string_view key, std::string_view value) {
    Key(key);
    out_ += value;
    return *this;
  }
  template <class Write>
  Fields& Value(std::string_view key, Write write) {
    Key(key);
    write();
    return *this;
  }

 private:
  void Key(std::string_view key) {
    out_ += first_ ? "" : ", ";
    first_ = false;
    AppendJsonString(out_, key);
    out_ += ": ";
  }

  std::string& out_;
  bool first_ = true;
};

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

// [1, 2, 3] on one line.
void AppendNumbers(std::string& out, const std::vector<std::int64_t>& numbers) {
  out += '[';
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    out += i == 0 ? "" : ", ";
    out += std::to_string(numbers[i]);
  }
  out += ']';
}

void AppendMultiplier(std::string& out, const SummaryQso& m) {
  Fields(out)
      .Text("mode", m.mode)
      .Text("band", m.band)
      .Text("reference", m.reference)
      .Text("call", m.call)
      .Time("time", m.time);
}

// A member of an object laid out a line a member: its indented key, then
// the value that `write` appends.
template <class Write>
void AppendMember(std::string& out, std::size_t indent, std::string_view key, Write write,
                  bool last = false) {
  out.append(indent, ' ');
  AppendJsonString(out, key);
  out += ": ";
  write();
  out += last ? "\n" : ",\n";
}

void AppendLogLists(std::string& out, const LogSummary& log) {
  constexpr std::size_t kIndent = 6;
  AppendMember(out, kIndent, "bands", [&] {
    AppendList(out, kIndent, log.bands, [&](const BandModeLine& b) {
      Fields(out)
          .Text("band", b.band)
          .Text("mode", b.mode)
          .Number("qsos", b.qsos)
          .Number("points", b.points)
          .Number("multipliers", b.multipliers);
    });
  });
  AppendMember(out, kIndent, "multipliers_worked", [&] {
    AppendList(out, kIndent, log.multipliers,
               [&](const SummaryQso& m) { AppendMultiplier(out, m); });
  });
  AppendMember(out, kIndent, "duplicates", [&] {
    AppendList(out, kIndent, log.duplicates, [&](const SummaryQso& d) {
      Fields(out)
          .Text("call", d.call)
          .Text("band", d.band)
          .Text("mode", d.mode)
          .Time("time", d.time)
          .Number("record", static_cast<std::int64_t>(d.record))
          .Number("repeats_record", static_cast<std::int64_t>(d.repeatsRecord));
    });
  });
  AppendMember(out, kIndent, "zero_points", [&] {
    AppendList(out, kIndent, log.zeroPoints, [&](const SummaryQso& z) {
      Fields(out)
          .Text("call", z.call)
          .Text("band", z.band)
          .Text("mode", z.mode)
          .Text("reference", z.reference)
          .Time("time", z.time)
          .Number("record", static_cast<std::int64_t>(z.record));
    });
  });
  AppendMember(out, kIndent, "hours", [&] {
    AppendList(out, kIndent, log.hours, [&](const HourLine& h) {
      Fields(out)
          .Time("hour", h.hour)
          .Number("qsos", h.qsos)
          .Number("points", h.points)
          .Number("new_multipliers", h.newMultipliers)
          .Number("score", h.score);
    });
  });
}

void AppendLog(std::string& out, const LogSummary& log) {
  constexpr std::size_t kIndent = 6;
  out += "{\n";
  AppendMember(out, kIndent, "name", [&] { AppendJsonName(out, log.name); });
  const TReportTotals& c = log.claimed;
  for (const auto& [key, value] : {std::pair<const char*, std::int64_t>{"qsos", c.QSOs},
                                   {"points", c.Points},
                                   {"multipliers", c.Mults},
                                   {"score", c.Score}}) {
    AppendMember(out, kIndent, key, [&] { out += std::to_string(value); });
  }
  AppendLogLists(out, log);
  AppendMember(
      out, kIndent, "left_out",
      [&] {
        Fields(out)
            .Number("outside_period", static_cast<std::int64_t>(log.leftOut.outsidePeriod))
            .Number("skipped_records", static_cast<std::int64_t>(log.leftOut.skippedRecords))
            .Number("kept_without_time", static_cast<std::int64_t>(log.leftOut.keptWithoutTime));
      },
      true);
  out += "    }";
}

void AppendComparison(std::string& out, const Comparison& comparison) {
  constexpr std::size_t kIndent = 4;
  out += "{\n";
  AppendMember(out, kIndent, "bands", [&] {
    AppendList(out, kIndent, comparison.bands, [&](const ComparedBandMode& b) {
      Fields(out)
          .Text("band", b.band)
          .Text("mode", b.mode)
          .Value("qsos", [&] { AppendNumbers(out, b.qsos); })
          .Value("points", [&] { AppendNumbers(out, b.points); })
          .Value("multipliers", [&] { AppendNumbers(out, b.multipliers); });
    });
  });
  AppendMember(out, kIndent, "multipliers_only", [&] {
    AppendList(out, kIndent, comparison.multipliersOnly, [&](const std::vector<SummaryQso>& only) {
      AppendList(out, kIndent + 2, only, [&](const SummaryQso& m) { AppendMultiplier(out, m); });
    });
  });
  AppendMember(out, kIndent, "stations_only", [&] {
    AppendList(out, kIndent, comparison.stationsOnly, [&](const std::vector<std::string>& only) {
      AppendList(out, kIndent + 2, only,
                 [&](const std::string& call) { AppendJsonString(out, call); });
    });
  });
  AppendMember(
      out, kIndent, "hours",
      [&] {
        AppendList(out, kIndent, comparison.hours, [&](const ComparedHour& h) {
          Fields(out).Time("hour", h.hour).Value("score", [&] { AppendNumbers(out, h.score); });
        });
      },
      true);
  out += "  }";
}

// One character of a JSON string, or half of a surrogate pair: ASCII as it
// is but for what JSON or a page's script would misread, the rest escaped.
void AppendJsonCharacter(std::string& out, char32_t c) {
  static constexpr char kHex[] = "0123456789abcdef";
  if (c == '"' || c == '\\') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c < 0x20 || c >= 0x7F || c == '<' || c == '>' || c == '&') {
    out += "\\u";
    for (const int shift : {12, 8, 4, 0}) {
      out += kHex[(c >> shift) & 15];
    }
  } else {
    out += static_cast<char>(c);
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    AppendJsonCharacter(out, static_cast<unsigned char>(c));
  }
  out += '"';
}

void AppendJsonName(std::string& out, std::string_view name) {
  out += '"';
  for (const char32_t c : NameCharacters(name)) {
    if (c > 0xFFFF) {
      const char32_t offset = c - 0x10000;
      AppendJsonCharacter(out, 0xD800 + (offset >> 10));
      AppendJsonCharacter(out, 0xDC00 + (offset & 0x3FF));
    } else {
      AppendJsonCharacter(out, c);
    }
  }
  out += '"';
}

std::string SummaryJson(const std::vector<LogSummary>& logs, const Comparison& comparison) {
  std::string out = "{\n  \"logs\": ";
  AppendList(out, 2, logs, [&](const LogSummary& log) { AppendLog(out, log); });
  if (logs.size() >= 2) {
    out += ",\n  \"comparison\": ";
    AppendComparison(out, comparison);
  }
  out += "\n}\n";
  return out;
}

}  // namespace orva::host
