// Writes the benchmark log as an ADI or Cabrillo file, to time the native
// host scoring a large file of another program as a whole process:
//
//   write_sample_log adif 100000 > /tmp/log.adi
//   orva-host --adif /tmp/log.adi --score
#include <cstdlib>
#include <iostream>
#include <string>

#include "bench/sample_files.h"

int main(int argc, char** argv) {
  const std::string format = argc == 3 ? argv[1] : "";
  const long count = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
  if ((format != "adif" && format != "cabrillo") || count <= 0) {
    std::cerr << "usage: write_sample_log adif|cabrillo COUNT > FILE\n";
    return 2;
  }
  const auto qsos = static_cast<std::size_t>(count);
  std::cout << (format == "adif" ? orva::bench::SampleAdif(qsos)
                                 : orva::bench::SampleCabrillo(qsos));
  return std::cout ? 0 : 1;
}
