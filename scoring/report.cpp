// The report's layout: right-aligned columns per band, the totals and the
// claimed score, which is computed in 64 bits so that a large log's product
// of points and multipliers is shown as it is.
#include "scoring/report.h"

#include <cstdint>

#include "base/text.h"

namespace orva {

namespace {

std::string Column(std::int64_t value) {
  return PadLeft(std::to_string(value), 6);
}

}  // namespace

std::string PadLeft(std::string_view text, std::size_t width) {
  std::string result;
  if (text.size() < width) {
    result.assign(width - text.size(), ' ');
  }
  result.append(text);
  return result;
}

std::string BuildReportText(const std::vector<TStatistic>& statList) {
  // Sums are 32-bit counters that wrap; the claimed score is their product in
  // 64 bits, because 15 points times 150,000 multipliers does not fit 32.
  std::uint32_t qsos = 0, points = 0, mults = 0;
  std::string text = "  Band\t  QSOs\tPoints\t  ORVA\t\r\n";
  for (const TStatistic& s : statList) {
    text += PadLeft(s.Band, 4) + "\t" + Column(s.QSOs) + "\t" + Column(s.Points) + "\t" +
            Column(s.Mults) + "\t\r\n";
    qsos += static_cast<std::uint32_t>(s.QSOs);
    points += static_cast<std::uint32_t>(s.Points);
    mults += static_cast<std::uint32_t>(s.Mults);
  }
  const auto totalPoints = static_cast<std::int32_t>(points);
  const auto totalMults = static_cast<std::int32_t>(mults);
  text += "Total\t" + Column(static_cast<std::int32_t>(qsos)) + "\t" + Column(totalPoints) + "\t" +
          Column(totalMults) + "\r\n";
  text += " Score: " + std::to_string(totalPoints) + "*" + std::to_string(totalMults) + "=" +
          std::to_string(std::int64_t{totalPoints} * totalMults) + "\r\n";
  return std::string(Trim(text));
}

}  // namespace orva
