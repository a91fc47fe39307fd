// Recording QSOs into a large log, looking up references in a large file,
// and the memory a 100,000-QSO contest state takes.
//
// The recording benchmark runs beside a list that is re-sorted after every
// QSO (appending, then sorting the whole list), the straightforward way to
// keep a searchable order, so that one run shows what the ordered list saves.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <memory>

#include "bench/sample_log.h"
#include "scoring/contest.h"

namespace orva {
namespace {

constexpr std::size_t kLogSize = 100000;

void Load(TExchangeRecord& record, const bench::SampleQso& q) {
  record.CallSign.assign(q.call);
  record.DigiBand.assign(q.band);
  record.QSOMode.assign(q.mode);
  record.QSOReportRecived.assign(q.exchange);
}

void BM_RecordQsoIntoLargeLog(benchmark::State& state) {
  const auto log = bench::SampleLog(kLogSize + 200000);
  TExchangeRecord current{};
  TContest contest(current);
  std::size_t next = 0;
  for (; next < kLogSize; ++next) {
    Load(current, log[next]);
    contest.ScoreQso(true);
  }
  for (auto _ : state) {
    Load(current, log[next++ % log.size()]);
    benchmark::DoNotOptimize(contest.ScoreQso(true));
  }
}
BENCHMARK(BM_RecordQsoIntoLargeLog)->Iterations(20000)->Repetitions(5);

// The list kept by appending and sorting everything after each QSO.
struct SortAfterEveryQso {
  std::vector<std::unique_ptr<TQSO>> list;
  void Record(const bench::SampleQso& q) {
    list.push_back(std::make_unique<TQSO>(q.call, q.band, q.mode));
    std::sort(list.begin(), list.end(),
              [](const auto& a, const auto& b) { return a->CallSign() < b->CallSign(); });
  }
};

void BM_RecordQsoSortingWholeList(benchmark::State& state) {
  const auto log = bench::SampleLog(kLogSize + 1000);
  SortAfterEveryQso baseline;
  for (std::size_t i = 0; i < kLogSize; ++i) {
    baseline.list.push_back(std::make_unique<TQSO>(log[i].call, log[i].band, log[i].mode));
  }
  baseline.Record(log[kLogSize]);
  std::size_t next = kLogSize + 1;
  for (auto _ : state) {
    baseline.Record(log[next++ % log.size()]);
  }
}
BENCHMARK(BM_RecordQsoSortingWholeList)
    ->Iterations(30)
    ->Repetitions(5)
    ->Unit(benchmark::kMicrosecond);

std::string ReferenceFileText(std::size_t lines) {
  std::string text;
  const auto log = bench::SampleLog(lines, 11);
  for (const auto& q : log) {
    text += q.call + "=" + q.exchange.substr(4) + "\r\n";
  }
  return text;
}

void BM_LoadReferenceFile(benchmark::State& state) {
  const std::string text = ReferenceFileText(kLogSize);
  for (auto _ : state) {
    TReferenceList list;
    list.Assign(text);
    benchmark::DoNotOptimize(list.lines().data());
  }
}
BENCHMARK(BM_LoadReferenceFile)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LookUpReference(benchmark::State& state) {
  TReferenceList list;
  list.Assign(ReferenceFileText(kLogSize));
  const auto calls = bench::SampleLog(1000, 11);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.LookUp(calls[i++ % calls.size()].call));
  }
}
BENCHMARK(BM_LookUpReference)->Repetitions(5);

// What a recalculation spends on the contest logic alone: scoring a whole
// 100,000-QSO log, delivered in callsign order, into a cleared state.
void BM_ScoreWholeLogInCallsignOrder(benchmark::State& state) {
  auto log = bench::SampleLog(kLogSize);
  std::sort(log.begin(), log.end(), [](const auto& a, const auto& b) { return a.call < b.call; });
  TExchangeRecord current{};
  TContest contest(current);
  for (auto _ : state) {
    contest.ClearQsoList();
    contest.ClearStatistics();
    for (const auto& q : log) {
      Load(current, q);
      contest.ScoreQso(true);
    }
  }
}
BENCHMARK(BM_ScoreWholeLogInCallsignOrder)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_ContestStateMemory(benchmark::State& state) {
  const auto log = bench::SampleLog(kLogSize);
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    TExchangeRecord current{};
    auto contest = std::make_unique<TContest>(current);
    for (const auto& q : log) {
      Load(current, q);
      contest->ScoreQso(true);
    }
    state.counters["MB"] = static_cast<double>(mallinfo2().uordblks - before) / 1e6;
    state.counters["QSOs"] = static_cast<double>(contest->myQsoList.size());
    state.counters["mults"] = static_cast<double>(contest->myMultList.size());
  }
}
BENCHMARK(BM_ContestStateMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orva

BENCHMARK_MAIN();
