// The native host's tools timed as whole processes, as an operator runs them
// on exported logs of 100,000 QSOs: the score, the explanation QSO by QSO
// (which should cost little more than the score), the day-after summary and
// its page, and the reference file made from ten such logs. Each run starts orva-host from beside
// this program.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/sample_files.h"

extern char** environ;

namespace orva {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLogSize = 100000;
constexpr int kReferenceLogs = 10;

fs::path Beside(const char* name) {
  return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

// Ten exported logs of different stations' QSOs, written once into a folder
// that goes with the program.
struct SampleLogs {
  SampleLogs() {
    fs::create_directories(folder);
    for (int i = 0; i < kReferenceLogs; ++i) {
      paths.push_back((folder / ("log-" + std::to_string(i) + ".adi")).string());
      std::ofstream(paths.back(), std::ios::binary) << bench::SampleAdif(kLogSize, 7 + i);
    }
  }
  ~SampleLogs() { fs::remove_all(folder); }
  SampleLogs(const SampleLogs&) = delete;
  SampleLogs& operator=(const SampleLogs&) = delete;

  const fs::path folder =
      fs::temp_directory_path() / ("orva-host-bench-" + std::to_string(getpid()));
  std::vector<std::string> paths;
};

const std::vector<std::string>& Logs() {
  static const SampleLogs logs;
  return logs.paths;
}

// Runs orva-host with `arguments`, its output and messages thrown away;
// fails the benchmark unless it exits with 0.
void RunHost(benchmark::State& state, const std::vector<std::string>& arguments) {
  const std::string host = Beside("orva-host").string();
  std::vector<char*> argv = {const_cast<char*>(host.c_str())};
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int status = -1;
  if (posix_spawn(&child, host.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    waitpid(child, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    state.SkipWithError(("orva-host failed: " + host).c_str());
  }
}

template <class... Mode>
void BM_Host(benchmark::State& state, Mode... mode) {
  const std::vector<std::string> arguments = {"--adif", Logs().front(), mode...};
  for (auto _ : state) {
    RunHost(state, arguments);
  }
}
BENCHMARK_CAPTURE(BM_Host, Score, "--score")
    ->Repetitions(5)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Host, Explain, "--explain")
    ->Repetitions(5)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// The day-after summary and its page should cost at most half as much again
// as the score.
BENCHMARK_CAPTURE(BM_Host, Summary, "--summary")
    ->Repetitions(5)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Host, SummaryJson, "--summary", "--json")
    ->Repetitions(5)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Host, Html, "--html", "-")
    ->Repetitions(5)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_MakeReferenceFromTenLogs(benchmark::State& state) {
  std::vector<std::string> arguments;
  for (const std::string& log : Logs()) {
    arguments.insert(arguments.end(), {"--adif", log});
  }
  const std::string made = (fs::path(Logs().front()).parent_path() / "ORVA.txt").string();
  arguments.insert(arguments.end(), {"--make-reference", made});
  for (auto _ : state) {
    RunHost(state, arguments);
  }
}
BENCHMARK(BM_MakeReferenceFromTenLogs)
    ->Repetitions(3)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orva

BENCHMARK_MAIN();
