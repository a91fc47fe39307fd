// A realistic contest log for the benchmarks: many stations over ten bands
// and three modes, most sending a continent reference from a pool of a few
// hundred, some a serial number, a few a reference of no continent.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace orva::bench {

struct SampleQso {
  std::string call, band, mode, exchange;
};

inline std::vector<SampleQso> SampleLog(std::size_t count, unsigned seed = 7) {
  static const char* const kBands[] = {"160M", "80M", "40M", "30M", "20M",
                                       "17M",  "15M", "12M", "10M", "6M"};
  static const char* const kModes[] = {"CW", "SSB", "FT8"};
  static const char* const kContinents[] = {"EU", "AS", "SA", "NA", "AF", "OC", "AN"};
  std::mt19937 random(seed);
  const auto pick = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
  const auto letter = [&pick] { return static_cast<char>('A' + pick(26)); };
  const auto digits = [&pick](unsigned n) {
    std::string text = std::to_string(pick(n));
    return std::string(3 - text.size(), '0') + text;
  };
  std::vector<SampleQso> log;
  log.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    SampleQso q;
    q.call = {letter(), letter(), static_cast<char>('0' + pick(10)), letter(), letter(), letter()};
    q.band = kBands[pick(10)];
    q.mode = kModes[pick(3)];
    q.exchange = pick(10) < 7 ? "599 " + std::string(kContinents[pick(7)]) + "-" + digits(400)
                              : "599 " + digits(1000);
    log.push_back(std::move(q));
  }
  return log;
}

}  // namespace orva::bench
