// The explanation written from the scored rows (logs/scored_rows.h) through a
// buffer: a log of 100,000 QSOs gives as many lines, and the explanation
// should cost little more than the score itself.
#include "host/tools/explain.h"

#include <string>

#include "base/text.h"
#include "host/logs/scored_rows.h"
#include "host/system/console.h"
#include "host/system/host_failure.h"

namespace orva::host {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

void AppendRow(std::string& out, const ScoredRow& row) {
  for (const std::string_view field :
       {row.callSign, row.band, row.mode, row.exchange, row.reference}) {
    AppendEscaped(out, field);
    out += '\t';
  }
  out += std::to_string(row.points);
  out += '\t';
  AppendEscaped(out, row.multiplier);
  out += '\t';
  row.when.AppendDate(out);
  out += '\t';
  row.when.AppendTime(out);
  out += '\t';
  if (row.record != 0) {
    out += std::to_string(row.record);
  }
  out += '\n';
}

void Flush(std::string& out, std::FILE* file) {
  WriteText(file, out);
  out.clear();
}

}  // namespace

void Explain(const OpenLog& log, const std::string& table, std::FILE* out) {
  std::string lines(kExplainHeader);
  lines += '\n';
  const ScoredRowObserver write = [&](const ScoredRow& row) {
    AppendRow(lines, row);
    if (lines.size() >= kFlushSize) {
      Flush(lines, out);
    }
  };
  try {
    ScoreRows(log, table, write);
  } catch (const HostFailure&) {
    Flush(lines, out);  // the rows scored before stand
    throw;
  }
  Flush(lines, out);
}

}  // namespace orva::host
