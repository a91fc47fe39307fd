// The benchmark log written out as other logging programs export it: an ADI
// file with the fields a contest logger writes for each QSO, and a Cabrillo
// log of the same QSOs. They are the input of the import benchmarks and of
// the whole-process timing of scoring a 100,000-QSO file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "bench/sample_log.h"

namespace orva::bench {

// A frequency in kHz inside each band of the sample log.
inline const std::map<std::string, std::string>& SampleFrequencies() {
  static const std::map<std::string, std::string> frequencies = {
      {"160M", "1830"}, {"80M", "3525"},  {"40M", "7010"},  {"30M", "10120"}, {"20M", "14025"},
      {"17M", "18080"}, {"15M", "21025"}, {"12M", "24900"}, {"10M", "28025"}, {"6M", "50100"}};
  return frequencies;
}

inline void AppendAdifField(std::string& text, std::string_view name, std::string_view data) {
  text += '<';
  text += name;
  text += ':';
  text += std::to_string(data.size());
  text += '>';
  text += data;
  text += ' ';
}

inline std::string Lowercased(std::string text) {
  for (char& c : text) {
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  return text;
}

// The date and time of the QSO at `index` of `count` made over the two days
// of a contest and listed newest first, as some loggers export them: the
// import then has every QSO to move into time order.
inline std::pair<std::string, std::string> NewestFirst(std::size_t index, std::size_t count) {
  constexpr std::uint64_t kSecondsPerDay = 86'400;
  const std::uint64_t second = (count - 1 - index) * 2 * kSecondsPerDay / count;
  const auto twoDigits = [](std::uint64_t n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
  };
  const std::uint64_t ofDay = second % kSecondsPerDay;
  return {"202611" + twoDigits(21 + second / kSecondsPerDay),
          twoDigits(ofDay / 3600) + twoDigits(ofDay / 60 % 60) + twoDigits(ofDay % 60)};
}

inline std::string SampleAdif(std::size_t count, unsigned seed = 7) {
  std::string text = "Benchmark log\n<ADIF_VER:5>3.1.4 <PROGRAMID:5>bench <EOH>\n";
  std::size_t index = 0;
  for (const SampleQso& q : SampleLog(count, seed)) {
    const auto [date, time] = NewestFirst(index++, count);
    AppendAdifField(text, "QSO_DATE", date);
    AppendAdifField(text, "TIME_ON", time);
    AppendAdifField(text, "CALL", q.call);
    AppendAdifField(text, "BAND", Lowercased(q.band));
    AppendAdifField(text, "FREQ", SampleFrequencies().at(q.band) + ".000");
    AppendAdifField(text, "MODE", q.mode);
    AppendAdifField(text, "RST_SENT", "599");
    AppendAdifField(text, "RST_RCVD", "599");
    AppendAdifField(text, "STX", "1");
    AppendAdifField(text, "SRX_STRING", q.exchange);
    AppendAdifField(text, "PFX", q.call.substr(0, 3));
    AppendAdifField(text, "CONT", "EU");
    AppendAdifField(text, "ITUZ", "28");
    text += "<EOR>\n";
  }
  return text;
}

inline std::string SampleCabrillo(std::size_t count) {
  std::string text = "START-OF-LOG: 3.0\nCONTEST: ORVA-DX\nCALLSIGN: OR1VA\n";
  for (const SampleQso& q : SampleLog(count)) {
    const std::string mode = q.mode == "SSB" ? "PH" : q.mode == "CW" ? "CW" : "DG";
    text += "QSO: " + SampleFrequencies().at(q.band) + " " + mode +
            " 2026-11-21 1200 OR1VA 599 001 " + q.call + " " + q.exchange + "\n";
  }
  return text + "END-OF-LOG:\n";
}

}  // namespace orva::bench
