// The explanation's rows, written through a buffer because a log of 100,000
// QSOs gives as many lines and the explanation should cost little more than
// the score itself.
#include "host/explain.h"

#include <exception>
#include <string>

#include "base/records.h"
#include "platform/database.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"
#include "scoring/recalculation.h"

namespace orva::host {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

void AppendRow(std::string& out, const TExchangeRecord& row, std::int32_t points,
               const TScoreDetail& detail) {
  for (const std::string_view field :
       {row.CallSign.text(), row.DigiBand.text(), row.QSOMode.text(), row.QSOReportRecived.text(),
        std::string_view(detail.reference)}) {
    AppendEscaped(out, field);
    out += '\t';
  }
  out += std::to_string(points);
  out += '\t';
  AppendEscaped(out, detail.multiplier);
  out += '\n';
}

void Flush(std::string& out, std::FILE* file) {
  std::fwrite(out.data(), 1, out.size(), file);
  out.clear();
}

}  // namespace

void AppendEscaped(std::string& line, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      line += "\\\\";
    } else if (byte < 32 || byte == 127) {
      line += "\\x";
      line += kHex[byte >> 4];
      line += kHex[byte & 15];
    } else {
      line += c;
    }
  }
}

bool Explain(std::uint32_t connection, const std::string& table, std::FILE* out) {
  TExchangeRecord current{};
  current.Connection = connection;
  current.TableName.assign(table);
  std::string lines(kExplainHeader);
  lines += '\n';
  try {
    TContest contest(current);
    TLogQuery query("LogQuery", platform::BindLogCursor(connection));
    Recalculate(contest, query,
                [&](const TExchangeRecord& row, std::int32_t points, const TScoreDetail& detail) {
                  AppendRow(lines, row, points, detail);
                  if (lines.size() >= kFlushSize) {
                    Flush(lines, out);
                  }
                });
  } catch (const std::exception& failure) {
    Flush(lines, out);
    std::fprintf(stderr, "orva-host: %s\n", failure.what());
    return false;
  }
  Flush(lines, out);
  return true;
}

}  // namespace orva::host
