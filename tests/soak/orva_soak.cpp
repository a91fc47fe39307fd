// A long contest through the exports: QSOS calls of _AddQSO with a realistic
// mix (stations worked again on the same band and mode, every band and mode,
// references of a scoring continent, of another continent and none at all,
// letters in either case). Every answer is checked against a count the soak
// keeps by itself, and so is the final report; the memory in use is printed
// at the start and the end and must grow no faster than the log does.
//
// Usage: orva_soak [QSOS], 1,000,000 by default. Exits 0 only when every
// check held.
#include <malloc.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/native/orva_native.h"
#include "platform/native/orva_window.h"
#include "plugin/exports.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::array<const char*, 10> kBands = {"160M", "80M", "40M", "30M", "20M",
                                            "17M",  "15M", "12M", "10M", "6M"};
const std::array<const char*, 3> kModes = {"CW", "SSB", "FT8"};

struct Qso {
  std::string call, band, mode, exchange;
  int points;             // what the rules give it unless it is a duplicate
  std::string reference;  // the multiplier's reference, empty for none
};

// The rules as the contest states them, for exchanges this soak makes.
Qso MakeQso(std::mt19937& random) {
  const auto pick = [&random](unsigned n) { return static_cast<unsigned>(random() % n); };
  Qso q;
  // About 40,000 stations, so a long soak works most of them again.
  // Built by appending: GCC 12 at -O3 falsely reports "K" + text as an
  // overlapping copy.
  q.call = std::to_string(pick(40000));
  q.call.insert(0, 1, 'K').push_back('X');
  q.band = kBands[pick(kBands.size())];
  q.mode = kModes[pick(kModes.size())];
  const std::string number = std::to_string(100 + pick(400));
  switch (pick(10)) {
    case 0:
    case 1:
      q.exchange = "599 " + number;  // a serial number: no reference
      q.points = 2;
      break;
    case 2:
      q.exchange = "599 AN-" + number;  // a continent that scores nothing
      q.reference = "AN-" + number;
      q.points = 0;
      break;
    case 3:
      q.exchange = " 599 eu-" + number + " ";  // lower case and spaces around
      q.reference = "EU-" + number;
      q.points = 15;
      break;
    default: {
      static const char* const kScoring[] = {"EU", "AS", "SA", "NA", "AF", "OC"};
      q.reference = std::string(kScoring[pick(6)]) + "-" + number;
      q.exchange = "599 " + q.reference;
      q.points = 15;
    }
  }
  return q;
}

struct BandTotals {
  long qsos = 0, points = 0, mults = 0;
};

class IndependentCount {
 public:
  int Record(const Qso& q) {
    if (!worked_.insert({q.call, q.band, q.mode}).second) {
      return -1;
    }
    if (totals_.find(q.band) == totals_.end()) {
      order_.push_back(q.band);
    }
    BandTotals& band = totals_[q.band];
    ++band.qsos;
    band.points += q.points;
    if (!q.reference.empty() && keys_.insert(q.mode + ":" + q.band + "|" + q.reference).second) {
      ++band.mults;
    }
    return q.points;
  }

  std::string Report() const {
    std::string text = "Band\t  QSOs\tPoints\t  ORVA\t";
    long qsos = 0, points = 0, mults = 0;
    char line[128];
    for (const std::string& band : order_) {
      const BandTotals& t = totals_.at(band);
      std::snprintf(line, sizeof line, "\r\n%4s\t%6ld\t%6ld\t%6ld\t", band.c_str(), t.qsos,
                    t.points, t.mults);
      text += line;
      qsos += t.qsos;
      points += t.points;
      mults += t.mults;
    }
    std::snprintf(line, sizeof line, "\r\nTotal\t%6ld\t%6ld\t%6ld\r\n Score: %ld*%ld=%ld", qsos,
                  points, mults, points, mults, points * mults);
    return text + line;
  }

  std::size_t distinct() const { return worked_.size(); }

 private:
  std::set<std::tuple<std::string, std::string, std::string>> worked_;
  std::map<std::string, BandTotals> totals_;
  std::vector<std::string> order_;
  std::set<std::string> keys_;
};

std::string MemoText(std::uintptr_t window) {
  std::string text(static_cast<std::size_t>(orva_window_memo_text(window, nullptr, 0)) + 1, '\0');
  orva_window_memo_text(window, text.data(), text.size());
  text.pop_back();
  return text;
}

std::size_t BytesInUse() {
  return mallinfo2().uordblks;
}

int Soak(long count) {
  orva::TExchangeRecord record = orva::test::BlankRecord();
  record.CaptionText.assign("SOAK");
  record.TableName.assign("LOG");
  const std::uintptr_t window = _Run(0, &record);
  orva_pump();
  orva_clear_error_boxes();  // no log to rebuild from: the soak starts empty
  if (window == 0) {
    std::fprintf(stderr, "orva_soak: no window\n");
    return 1;
  }
  // Any box from here on is a failure; its text tells what went wrong.
  orva_set_error_box_listener(
      [](void*, const char* caption, const char* text) {
        std::fprintf(stderr, "orva_soak: error box %s: %s\n", caption, text);
      },
      nullptr);
  const std::size_t start = BytesInUse();
  std::mt19937 random(2026);
  IndependentCount expected;
  long wrong = 0;
  for (long i = 0; i < count; ++i) {
    const Qso q = MakeQso(random);
    const orva::TExchangeRecord qso = orva::test::QsoRecord(q.call, q.band, q.mode, q.exchange);
    const int answer = _AddQSO(&qso);
    const int want = expected.Record(q);
    if (answer != want && wrong++ < 10) {
      std::fprintf(stderr, "QSO %ld (%s %s %s '%s'): %d, expected %d\n", i, q.call.c_str(),
                   q.band.c_str(), q.mode.c_str(), q.exchange.c_str(), answer, want);
    }
  }
  orva_pump();
  const std::size_t end = BytesInUse();
  const std::string report = MemoText(window);
  const bool reportRight = report == expected.Report();
  if (!reportRight) {
    std::fprintf(stderr, "report:\n%s\nexpected:\n%s\n", report.c_str(), expected.Report().c_str());
  }
  // The contest keeps a few hundred bytes per distinct QSO, nothing per call.
  const std::size_t allowance = expected.distinct() * 512;
  const bool memoryBounded = end < start + allowance;
  std::printf(
      "%ld QSOs (%zu distinct): %ld wrong answers, report %s; in use %zu KiB at the "
      "start, %zu KiB at the end (allowed %zu KiB more)\n",
      count, expected.distinct(), wrong, reportRight ? "right" : "WRONG", start / 1024, end / 1024,
      allowance / 1024);
  _Release();
  orva_pump();
  const bool boxes = orva_error_box_count() != 0;
  if (boxes) {
    std::fprintf(stderr, "orva_soak: the plug-in showed an error box\n");
  }
  return wrong == 0 && reportRight && memoryBounded && !boxes ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const long count = argc > 1 ? std::atol(argv[1]) : 1000000;
  if (count <= 0) {
    std::fprintf(stderr, "usage: %s [QSOS]\n", argv[0]);
    return 2;
  }
  // Settings and the reference file go to a folder of the soak's own.
  const fs::path dir = fs::temp_directory_path() / ("orva-soak-" + std::to_string(getpid()));
  fs::create_directories(dir);
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  orva_set_executable_path((dir / "LOGGER.EXE").c_str());
  const int status = Soak(count);
  fs::remove_all(dir);
  return status;
}
