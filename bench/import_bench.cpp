// Importing a 100,000-QSO log of another program: reading an ADI or Cabrillo
// file's bytes into QSOs, and writing them into the temporary log database
// that the plug-in then scores. Scoring itself is the recalculation's.
#include <benchmark/benchmark.h>

#include "bench/sample_files.h"
#include "import/adif_reader.h"
#include "import/cabrillo_reader.h"
#include "import/temporary_log_database.h"

namespace orva {
namespace {

constexpr std::size_t kLogSize = 100000;

void BM_ReadLog(benchmark::State& state, std::string (*sample)(std::size_t),
                import::ImportedLog (*read)(std::string_view)) {
  const std::string file = sample(kLogSize);
  for (auto _ : state) {
    const auto log = read(file);
    benchmark::DoNotOptimize(log.qsos.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
import::ImportedLog ReadAdif(std::string_view bytes){return import::ReadAdif(bytes);
}  // namespace
std::string SampleAdif(std::size_t count) {
  return bench::SampleAdif(count);
}

BENCHMARK_CAPTURE(BM_ReadLog, Adif, SampleAdif, ReadAdif)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadLog, Cabrillo, bench::SampleCabrillo, import::ReadCabrillo)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

void BM_FillTemporaryLogDatabase(benchmark::State& state) {
  const auto log = ReadAdif(SampleAdif(kLogSize));
  for (auto _ : state) {
    const import::TemporaryLogDatabase database(log.qsos, "LOG");
    benchmark::DoNotOptimize(database.Path().data());
  }
}
BENCHMARK(BM_FillTemporaryLogDatabase)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace orva
}  // namespace orva

BENCHMARK_MAIN();
