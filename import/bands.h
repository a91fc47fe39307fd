// Amateur bands as both log formats name them, in the one spelling the log
// table gets: the band enumeration of the interchange format in upper case
// ("20M", "70CM", "1.25M"), which is how logging programs write DigiBand.
// The plug-in compares band texts byte for byte, so a QSO from either format
// must land on exactly this text or it would open a band of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orva::import {

inline constexpr std::uint64_t kHertzPerKilohertz = 1'000;
inline constexpr std::uint64_t kHertzPerMegahertz = 1'000'000;

// The canonical text of a band name given in any letter case ("20m" gives
// "20M"), or nothing for a name that is no band.
std::optional<std::string_view> BandOfName(std::string_view name);

// The band that holds the frequency, edges included, or nothing.
std::optional<std::string_view> BandOfFrequency(std::uint64_t hertz);

// A decimal frequency ("14.025", "14025", "7000.5") in the given unit, as
// whole hertz (finer fractions are dropped); nothing for any other text.
std::optional<std::uint64_t> ParseFrequency(std::string_view text, std::uint64_t hertzPerUnit);

// The order of bands for whoever lists them: by wavelength, longest first
// ("160M" before "20M" before "70CM", the order of the band table), read from
// the name itself so that a band of no table ("11M", "3.4CM", any letter
// case) falls in its place too; a text that names no wavelength ("SUBMM")
// comes after, in byte order.
bool BandBefore(std::string_view a, std::string_view b);

}  // namespace orva::import
