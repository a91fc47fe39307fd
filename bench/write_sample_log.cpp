// Writes the benchmark log as an ADI or Cabrillo file, to time the native
// host scoring a large file of another program as a whole process:
//
//   write_sample_log adif 100000 > /tmp/log.adi
//   orva-host --adif /tmp/log.adi --score
//
// A third argument seeds the QSOs (ADI only), for several logs of different
// stations.
#include <cstdlib>
#include <iostream>
#include <string>

#include "bench/sample_files.h"

int main(int argc, char** argv) {
  const bool given = argc == 3 || argc == 4;
  const std::string format = given ? argv[1] : "";
  const long count = given ? std::strtol(argv[2], nullptr, 10) : 0;
  const long seed = argc == 4 ? std::strtol(argv[3], nullptr, 10) : 7;
  if ((format != "adif" && format != "cabrillo") || count <= 0 || seed < 0) {
    std::cerr << "usage: write_sample_log adif|cabrillo COUNT [SEED] > FILE\n";
    return 2;
  }
  const auto qsos = static_cast<std::size_t>(count);
  std::cout << (format == "adif" ? orva::bench::SampleAdif(qsos, static_cast<unsigned>(seed))
                                 : orva::bench::SampleCabrillo(qsos));
  return std::cout ? 0 : 1;
}
