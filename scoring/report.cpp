// The report's layout: right-aligned columns per band, the totals and the
// claimed score, which is computed in 64 bits so that a large log's product
// of points and multipliers is shown as it is. The totals are a function of
// their own, so that the tools claim the very score the window shows.
#include "scoring/report.h"

#include <charconv>
#include <cstdint>

#include "base/text.h"

namespace orva {

namespace {

// The report is rebuilt after every QSO, so it is written into one string
// without a temporary text per field.
void AppendPadded(std::string& text, std::string_view value, std::size_t width) {
  if (value.size() < width) {
    text.append(width - value.size(), ' ');
  }
  text.append(value);
}

void AppendNumber(std::string& text, std::int64_t value, std::size_t width = 0) {
  char digits[24];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  AppendPadded(text, std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)),
               width);
}

constexpr std::size_t kColumn = 6;

void AppendColumns(std::string& text, std::int64_t qsos, std::int64_t points, std::int64_t mults) {
  AppendNumber(text, qsos, kColumn);
  text += '\t';
  AppendNumber(text, points, kColumn);
  text += '\t';
  AppendNumber(text, mults, kColumn);
}

void TrimInPlace(std::string& text) {
  const std::string_view trimmed = Trim(text);
  const auto start = static_cast<std::size_t>(trimmed.data() - text.data());
  text.erase(start + trimmed.size());
  text.erase(0, start);
}

}  // namespace

std::string PadLeft(std::string_view text, std::size_t width) {
  std::string result;
  AppendPadded(result, text, width);
  return result;
}

TReportTotals ReportTotals(const std::vector<TStatistic>& statList) {
  // Sums are 32-bit counters that wrap; the claimed score is their product in
  // 64 bits, because 15 points times 150,000 multipliers does not fit 32.
  std::uint32_t qsos = 0, points = 0, mults = 0;
  for (const TStatistic& s : statList) {
    qsos += static_cast<std::uint32_t>(s.QSOs);
    points += static_cast<std::uint32_t>(s.Points);
    mults += static_cast<std::uint32_t>(s.Mults);
  }
  TReportTotals totals{static_cast<std::int32_t>(qsos), static_cast<std::int32_t>(points),
                       static_cast<std::int32_t>(mults)};
  totals.Score = std::int64_t{totals.Points} * totals.Mults;
  return totals;
}

std::string BuildReportText(const std::vector<TStatistic>& statList) {
  std::string text;
  text.reserve(64 + 32 * statList.size());
  text += "  Band\t  QSOs\tPoints\t  ORVA\t\r\n";
  for (const TStatistic& s : statList) {
    AppendPadded(text, s.Band, 4);
    text += '\t';
    AppendColumns(text, s.QSOs, s.Points, s.Mults);
    text += "\t\r\n";
  }
  const TReportTotals totals = ReportTotals(statList);
  text += "Total\t";
  AppendColumns(text, totals.QSOs, totals.Points, totals.Mults);
  text += "\r\n Score: ";
  AppendNumber(text, totals.Points);
  text += '*';
  AppendNumber(text, totals.Mults);
  text += '=';
  AppendNumber(text, totals.Score);
  text += "\r\n";
  TrimInPlace(text);
  return text;
}

}  // namespace orva
