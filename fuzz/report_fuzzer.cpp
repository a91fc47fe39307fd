// Fuzz target: the statistics report built from arbitrary band entries.
//
// Input, read in order: a text (a length byte, then that many bytes) and a
// width byte for PadLeft; then one band entry after another until the input
// ends, each a band text (a length byte and bytes, any bytes at all) and its
// QSOs, Points and Mults as signed 32-bit little-endian counts, the extremes
// included, so the totals overflow.
//
// The expected report is formatted here with printf-style padding: the header
// without its two leading spaces, one row per band in list order, the total
// line with the sums as 32-bit counters that wrap, and the score line with
// their product, which needs 64 bits. Nothing else may be trimmed.
#include <algorithm>
#include <cinttypes>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "scoring/report.h"

namespace {

using orva::fuzz::Shown;

std::int32_t Int32(orva::fuzz::Input& input) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) {
    bits |= std::uint32_t{input.Byte()} << (8 * i);
  }
  std::int32_t value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string Printed(const char* format, std::int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::int32_t Wrapped(std::int64_t sum) {
  const auto bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(sum));
  std::int32_t value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string ExpectedReport(const std::vector<orva::TStatistic>& bands) {
  std::string text = "Band\t  QSOs\tPoints\t  ORVA\t\r\n";
  std::int64_t qsos = 0, points = 0, mults = 0;
  for (const orva::TStatistic& band : bands) {
    const std::size_t pad = band.Band.size() < 4 ? 4 - band.Band.size() : 0;
    text += std::string(pad, ' ') + band.Band + "\t" + Printed("%6" PRId64, band.QSOs) + "\t" +
            Printed("%6" PRId64, band.Points) + "\t" + Printed("%6" PRId64, band.Mults) + "\t\r\n";
    qsos += band.QSOs, points += band.Points, mults += band.Mults;
  }
  const std::int64_t totalPoints = Wrapped(points), totalMults = Wrapped(mults);
  text += "Total\t" + Printed("%6" PRId64, Wrapped(qsos)) + "\t" +
          Printed("%6" PRId64, totalPoints) + "\t" + Printed("%6" PRId64, totalMults) + "\r\n";
  text += " Score: " + Printed("%" PRId64, totalPoints) + "*" + Printed("%" PRId64, totalMults) +
          "=" + Printed("%" PRId64, totalPoints * totalMults);
  return text;
}

void CheckPadLeft(orva::fuzz::Input& input) {
  const std::string text(input.Text());
  const std::size_t width = input.Byte();
  const std::string padded = orva::PadLeft(text, width);
  const std::size_t spaces = padded.size() - text.size();
  ORVA_REQUIRE(padded.size() == std::max(text.size(), width) && padded.ends_with(text) &&
                   padded.find_first_not_of(' ') >= spaces,
               "PadLeft(\"%s\", %zu) gave \"%s\"", Shown(text).c_str(), width,
               Shown(padded).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  CheckPadLeft(input);
  std::vector<orva::TStatistic> bands;
  while (!input.empty()) {
    orva::TStatistic band{std::string(input.Text())};
    band.QSOs = Int32(input);
    band.Points = Int32(input);
    band.Mults = Int32(input);
    bands.push_back(std::move(band));
  }
  const std::string report = orva::BuildReportText(bands);
  const std::string expected = ExpectedReport(bands);
  ORVA_REQUIRE(report == expected, "%zu bands:\n\"%s\"\nexpected\n\"%s\"", bands.size(),
               Shown(report).c_str(), Shown(expected).c_str());
  return 0;
}
