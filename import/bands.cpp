// The band table: each band's name and its edges in hertz, as the
// interchange format's band enumeration lists them, longest wavelength
// first; and the order of bands by the wavelength their names give.
#include "import/bands.h"

#include <array>
#include <limits>
#include <string>

#include "base/text.h"
#include "import/imported_log.h"

namespace orva::import {
namespace {

struct Band {
  std::string_view name;
  std::uint64_t lowest;
  std::uint64_t highest;
};

constexpr std::uint64_t kMHz = kHertzPerMegahertz;
constexpr std::uint64_t kGHz = 1'000 * kMHz;

constexpr std::array<Band, 33> kBands{{
    {"2190M", 135'700, 137'800},          {"630M", 472'000, 479'000},
    {"560M", 501'000, 504'000},           {"160M", 1'800'000, 2'000'000},
    {"80M", 3'500'000, 4'000'000},        {"60M", 5'060'000, 5'450'000},
    {"40M", 7 * kMHz, 7'300'000},         {"30M", 10'100'000, 10'150'000},
    {"20M", 14 * kMHz, 14'350'000},       {"17M", 18'068'000, 18'168'000},
    {"15M", 21 * kMHz, 21'450'000},       {"12M", 24'890'000, 24'990'000},
    {"10M", 28 * kMHz, 29'700'000},       {"8M", 40 * kMHz, 45 * kMHz},
    {"6M", 50 * kMHz, 54 * kMHz},         {"5M", 54 * kMHz + 1, 69'900'000},
    {"4M", 70 * kMHz, 71 * kMHz},         {"2M", 144 * kMHz, 148 * kMHz},
    {"1.25M", 222 * kMHz, 225 * kMHz},    {"70CM", 420 * kMHz, 450 * kMHz},
    {"33CM", 902 * kMHz, 928 * kMHz},     {"23CM", 1'240 * kMHz, 1'300 * kMHz},
    {"13CM", 2'300 * kMHz, 2'450 * kMHz}, {"9CM", 3'300 * kMHz, 3'500 * kMHz},
    {"6CM", 5'650 * kMHz, 5'925 * kMHz},  {"3CM", 10 * kGHz, 10'500 * kMHz},
    {"1.25CM", 24 * kGHz, 24'250 * kMHz}, {"6MM", 47 * kGHz, 47'200 * kMHz},
    {"4MM", 75'500 * kMHz, 81 * kGHz},    {"2.5MM", 119'980 * kMHz, 123 * kGHz},
    {"2MM", 134 * kGHz, 149 * kGHz},      {"1MM", 241 * kGHz, 250 * kGHz},
    {"SUBMM", 300 * kGHz, 7'500 * kGHz},
}};

// Enough digits for the highest band edge in hertz with room to spare, few
// enough that no digit string overflows 64 bits.
constexpr std::size_t kMostDigits = 15;

// The wavelength in millimetres of a band named by it ("160M", "1.25M",
// "70CM", "6MM", any letter case); nothing for any other name.
std::optional<double> Wavelength(std::string_view band) {
  double value = 0;
  double scale = 0;  // the place of the next digit after the point; 0 before it
  std::size_t at = 0;
  for (; at < band.size(); ++at) {
    const char c = band[at];
    if (c == '.' && scale == 0) {
      scale = 0.1;
    } else if (c >= '0' && c <= '9') {
      value = scale == 0 ? value * 10 + (c - '0') : value + scale * (c - '0');
      scale /= 10;
    } else {
      break;
    }
  }
  const std::string unit = UpperAscii(band.substr(at));
  const double millimetres = unit == "M" ? 1000 : unit == "CM" ? 10 : unit == "MM" ? 1 : 0;
  if (at == 0 || millimetres == 0) {
    return std::nullopt;
  }
  return value * millimetres;
}

}  // namespace

bool BandBefore(std::string_view a, std::string_view b) {
  const std::optional<double> wa = Wavelength(a), wb = Wavelength(b);
  if (wa && wb && *wa != *wb) {
    return *wa > *wb;
  }
  if (wa.has_value() != wb.has_value()) {
    return wa.has_value();
  }
  return a < b;
}

std::optional<std::string_view> BandOfName(std::string_view name) {
  for (const Band& band : kBands) {
    if (EqualIgnoringAsciiCase(band.name, name)) {
      return band.name;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> BandOfFrequency(std::uint64_t hertz) {
  for (const Band& band : kBands) {
    if (hertz >= band.lowest && hertz <= band.highest) {
      return band.name;
    }
  }
  return std::nullopt;
}

std::optional<std::uint64_t> ParseFrequency(std::string_view text, std::uint64_t hertzPerUnit) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  const auto allDigits = [](std::string_view digits) {
    return digits.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction) ||
      whole.size() > kMostDigits) {
    return std::nullopt;
  }
  std::uint64_t hertz = 0;
  for (const char digit : whole) {
    hertz = hertz * 10 + static_cast<std::uint64_t>(digit - '0');
  }
  if (hertz > std::numeric_limits<std::uint64_t>::max() / hertzPerUnit) {
    return std::nullopt;
  }
  hertz *= hertzPerUnit;
  // Each fraction digit is worth a tenth of the one before it; digits finer
  // than one hertz change nothing.
  std::uint64_t place = hertzPerUnit;
  for (std::size_t i = 0; i < fraction.size() && place >= 10; ++i) {
    place /= 10;
    hertz += static_cast<std::uint64_t>(fraction[i] - '0') * place;
  }
  return hertz;
}

}  // namespace orva::import
