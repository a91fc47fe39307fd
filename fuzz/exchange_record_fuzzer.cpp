// Fuzz target: the exchange record as the host hands it to the exports, with
// and without a statistics window, the window driven the way a host and its
// user drive it.
//
// The target links the contest logic and the native platform library
// directly, as the unit tests do, instead of loading the plug-in with dlopen:
// the exports are the same code, the sanitizers and the coverage feedback
// then see one program, and a crash's stack needs no symbols from a loaded
// library. Loading and unloading have tests of their own.
//
// Input, in order: a start byte (even: `_Run` with a sound host record, so a
// window exists; odd: no window), then operations until the input ends. Each
// operation is an operation byte, then one exchange record: a fill byte (the
// whole record is first filled with a pattern from it: garbage wherever the
// fields do not reach), a connection byte (0 the test log, 1 none, 2 a handle
// never issued, else garbage) and the fields CallSign, DigiBand, QSOMode,
// QSOReportRecived, TableName and CaptionText, each a length byte (up to 255)
// and as many bytes as the input still has; past the end of the input the
// field holds the fill garbage.
//
// Operation byte modulo 14: 0-2 `_AddQSO`, 3 `_GetScore`, 4 `_GrabNumber`,
// 5 the "Recalc Statistic" button, 6 `_Release`, 7 `_Release` and a turn of
// the message loop, 8 `_Run` with the record, 9 a turn of the message loop,
// 10 the close button (minimizes), 11 a close request, 12 a log-off query,
// 13 restore from minimized.
//
// Every answer is checked against a model of the contest kept here from the
// rules themselves: the points (the reference pattern through std::regex), the
// duplicates, the report text after every `_AddQSO`, the looked-up reference
// (a scan of the reference file's lines), and 0 or the empty text without a
// window. The host's record must come back unchanged and the reference
// buffer, exactly 256 bytes on the heap, must hold a proper short string.
// A recalculation either fails (the report is then empty) or rebuilds the
// state of the test log; each input starts from a fresh plug-in state.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/records.h"
#include "fuzz/fuzz_support.h"
#include "platform/native/orva_log.h"
#include "platform/native/orva_window.h"
#include "plugin/exports.h"
#include "scoring/report.h"

namespace {

namespace fs = std::filesystem;
using orva::TExchangeRecord;
using orva::fuzz::Shown;

constexpr std::size_t kRecordSize = sizeof(TExchangeRecord);
constexpr std::size_t kBufferSize = 256;

struct LogRow {
  const char* call;
  const char* band;
  const char* mode;
  const char* exchange;  // null for a NULL column
};
// In callsign order, as the recalculation's query delivers them; the one
// repeated row is a duplicate within the log.
constexpr LogRow kLogRows[] = {
    {"AA1AA", "20M", "CW", "599 EU-005"}, {"DL1ABC", "40M", "SSB", "59 001"},
    {"K1ABC", "20m", "cw", "na-001"},     {"K1ABC", "20m", "cw", "na-001"},
    {"W1AW", "80M", "CW", nullptr},
};

constexpr std::string_view kReferenceFile =
    "AA1AA=EU-005\r\nDL1ABC =EU-001\nK1ABC=NA-001=X\r\r\n  W1AW=  NA-002  \n\nk1abc=lower\n"
    "K1ABC/P=EU-9\n=EMPTY\rAA1AA=EU-006";

// The contest as the rules state it.
class Model {
 public:
  std::int32_t Score(const std::string& call, const std::string& band, const std::string& mode,
                     const std::string& received, bool record) {
    if (worked_.count({call, band, mode})) {
      return -1;
    }
    const std::optional<std::string> reference = Reference(received);
    const std::int32_t points = Points(reference);
    if (record) {
      worked_.insert({call, band, mode});
      auto entry = std::find_if(stats.begin(), stats.end(),
                                [&band](const orva::TStatistic& s) { return s.Band == band; });
      if (entry == stats.end()) {
        entry = stats.insert(stats.end(), orva::TStatistic{band});
      }
      ++entry->QSOs;
      entry->Points += points;
      if (reference &&
          multipliers_.insert(Folded(mode + ":" + band + "|" + *reference + "|")).second) {
        ++entry->Mults;
      }
    }
    return points;
  }
  void Clear() { *this = Model(); }

  std::vector<orva::TStatistic> stats;

 private:
  // 15 for a reference of a continent, 0 for another one, 2 for none.
  static std::int32_t Points(const std::optional<std::string>& reference) {
    if (!reference) {
      return 2;
    }
    const std::string continent = ":" + reference->substr(0, 2) + ":";
    return std::string_view(":EU:AS:SA:NA:AF:OC:").find(continent) != std::string_view::npos ? 15
                                                                                             : 0;
  }
  static std::optional<std::string> Reference(const std::string& received) {
    static const std::regex pattern("[-A-Z0-9+]{5,6}$");
    std::string exchange = received;
    for (char& c : exchange) {
      if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
      }
    }
    exchange = std::string(orva::fuzz::TrimmedBySpec(exchange));
    std::smatch match;
    if (!std::regex_search(exchange, match, pattern)) {
      return std::nullopt;
    }
    return match.str();
  }
  // Multiplier keys ignore letter case; the fuzzer runs in the C locale.
  static std::string Folded(std::string key) {
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') {
        c = static_cast<char>(c - 'A' + 'a');
      }
    }
    return key;
  }

  std::set<std::tuple<std::string, std::string, std::string>> worked_;
  std::set<std::string> multipliers_;
};

// Set up once: the host's directory, its log and reference file, the store.
struct Host {
  fs::path dir;
  fs::path placementFile;
  std::uint32_t connection = 0;
  std::vector<std::string> referenceLines;
  Model logModel;  // the state a successful recalculation rebuilds
};
Host host;

void Sql(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql.c_str(), error);
    std::abort();
  }
}

void CreateLog(const fs::path& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    std::abort();
  }
  Sql(db,
      "CREATE TABLE LOG (CallSign TEXT, DigiBand TEXT, QSOMode TEXT, QSOReportRecived TEXT,"
      " DXCCPrefix TEXT, MainPrefix TEXT, Continent TEXT, ITUZone INTEGER)");
  for (const LogRow& row : kLogRows) {
    const std::string exchange = row.exchange ? "'" + std::string(row.exchange) + "'" : "NULL";
    Sql(db, "INSERT INTO LOG VALUES ('" + std::string(row.call) + "','" + row.band + "','" +
                row.mode + "'," + exchange + ",'DL','DL','eu',28)");
    host.logModel.Score(row.call, row.band, row.mode, row.exchange ? row.exchange : "", true);
  }
  sqlite3_close(db);
}

// The fill pattern of a record: byte i of the pattern of `fill` (1 to 255)
// is (fill * 131 + i * 29) mod 256. As 29 * 53 = 1 (mod 256), that is byte
// i + 53 * 131 * fill (mod 256) of the ramp 29 * j (mod 256), so a record is
// filled with one copy from the ramp: a loop over its 5916 bytes would call
// the coverage instrumentation's comparison hooks twice a byte, a fifth of
// the target's time.
using Ramp = std::array<unsigned char, kRecordSize + 256>;
const Ramp ramp = [] {
  Ramp bytes{};
  for (std::size_t j = 0; j < bytes.size(); ++j) {
    bytes[j] = static_cast<unsigned char>(j * 29);
  }
  return bytes;
}();
const unsigned char* FillPattern(std::uint8_t fill) {
  return ramp.data() + (53 * 131 * fill) % 256;
}

// One exchange record exactly as large as the host's, on the heap, so that
// the address sanitizer sees any access past its end.
class Record {
 public:
  explicit Record(orva::fuzz::Input& input) : bytes_(kRecordSize) {
    const std::uint8_t fill = input.Byte();
    if (fill != 0) {
      std::memcpy(bytes_.data(), FillPattern(fill), kRecordSize);
    }
    SetConnection(input.Byte());
    for (const std::size_t field :
         {offsetof(TExchangeRecord, CallSign), offsetof(TExchangeRecord, DigiBand),
          offsetof(TExchangeRecord, QSOMode), offsetof(TExchangeRecord, QSOReportRecived),
          offsetof(TExchangeRecord, TableName), offsetof(TExchangeRecord, CaptionText)}) {
      bytes_[field] = input.Byte();
      const std::string_view given = input.Bytes(bytes_[field]);
      std::memcpy(&bytes_[field + 1], given.data(), given.size());
    }
  }
  // The sound record a host opens the window with.
  Record() : bytes_(kRecordSize) {
    SetConnection(0);
    Set(offsetof(TExchangeRecord, TableName), "LOG");
    Set(offsetof(TExchangeRecord, CaptionText), "ORVA");
  }

  const void* data() const { return bytes_.data(); }
  const std::vector<unsigned char>& bytes() const { return bytes_; }
  std::string Field(std::size_t offset) const {
    return std::string(reinterpret_cast<const char*>(&bytes_[offset + 1]), bytes_[offset]);
  }
  std::string Call() const { return Field(offsetof(TExchangeRecord, CallSign)); }

 private:
  void SetConnection(std::uint8_t choice) {
    const std::uint32_t connection = choice == 0   ? host.connection
                                     : choice == 1 ? 0
                                     : choice == 2 ? host.connection + 1000
                                                   : choice * 0x01010101u;
    std::memcpy(&bytes_[0], &connection, sizeof connection);
  }
  void Set(std::size_t offset, std::string_view text) {
    bytes_[offset] = static_cast<unsigned char>(text.size());
    std::memcpy(&bytes_[offset + 1], text.data(), text.size());
  }

  std::vector<unsigned char> bytes_;
};

std::string Memo(std::uintptr_t window) {
  const ptrdiff_t length = orva_window_memo_text(window, nullptr, 0);
  ORVA_REQUIRE(length >= 0, "window %zu has no memo", static_cast<std::size_t>(window));
  std::vector<char> text(static_cast<std::size_t>(length) + 1);
  orva_window_memo_text(window, text.data(), text.size());
  return std::string(text.data(), static_cast<std::size_t>(length));
}

// One input's run: the plug-in's window as the model knows it.
class Session {
 public:
  void Run(const Record& record) {
    const std::uintptr_t handle = _Run(0, record.data());
    if (window_ != 0) {
      ORVA_REQUIRE(handle == window_, "a second _Run gave another window");
      return;
    }
    window_ = handle;
    if (window_ != 0) {
      AfterRecalculation();
    }
  }

  void Operate(std::uint8_t operation, const Record& record) {
    switch (operation % 14) {
      case 0:
      case 1:
      case 2:
        Score(record, true);
        break;
      case 3:
        Score(record, false);
        break;
      case 4:
        GrabNumber(record);
        break;
      case 5:
        if (orva_window_press_button(window_) == ORVA_DELIVERED) {
          AfterRecalculation();
        }
        break;
      case 6:
      case 7:
        _Release();
        window_ = 0;
        if (operation % 14 == 7) {
          orva_pump();
        }
        break;
      case 8:
        Run(record);
        break;
      case 9:
        orva_pump();
        break;
      case 10:
        orva_window_sys_command(window_, ORVA_SC_CLOSE);
        break;
      case 11:
        if (orva_window_close(window_) == ORVA_DELIVERED) {
          window_ = 0;
        }
        break;
      case 12:
        orva_window_query_end_session(window_);
        break;
      case 13:
        orva_window_sys_command(window_, ORVA_SC_RESTORE);
        break;
    }
  }

 private:
  void Score(const Record& record, bool add) {
    const std::int32_t points = add ? _AddQSO(record.data()) : _GetScore(record.data());
    const std::int32_t expected =
        window_ == 0
            ? 0
            : model_.Score(record.Call(), record.Field(offsetof(TExchangeRecord, DigiBand)),
                           record.Field(offsetof(TExchangeRecord, QSOMode)),
                           record.Field(offsetof(TExchangeRecord, QSOReportRecived)), add);
    ORVA_REQUIRE(points == expected, "%s \"%s\" gave %d, expected %d",
                 add ? "_AddQSO" : "_GetScore", Shown(record.Call()).c_str(), points, expected);
    if (add && window_ != 0) {
      const std::string memo = Memo(window_);
      const std::string report = orva::BuildReportText(model_.stats);
      ORVA_REQUIRE(memo == report, "report\n\"%s\"\nexpected\n\"%s\"", Shown(memo).c_str(),
                   Shown(report).c_str());
    }
  }

  void GrabNumber(const Record& record) {
    std::vector<unsigned char> buffer(kBufferSize, 0xCC);
    _GrabNumber(record.data(), buffer.data());
    const std::string got(reinterpret_cast<const char*>(&buffer[1]), buffer[0]);
    const std::string expected =
        window_ == 0 ? "" : orva::fuzz::LookUpBySpec(host.referenceLines, record.Call());
    ORVA_REQUIRE(got == expected.substr(0, orva::ShortString::kCapacity),
                 "_GrabNumber \"%s\" gave \"%s\", expected \"%s\"", Shown(record.Call()).c_str(),
                 Shown(got).c_str(), Shown(expected).c_str());
  }

  // A recalculation either failed, leaving an empty report and empty
  // statistics, or read the whole test log.
  void AfterRecalculation() {
    const std::string memo = Memo(window_);
    if (memo.empty()) {
      model_.Clear();
      return;
    }
    model_ = host.logModel;
    const std::string report = orva::BuildReportText(model_.stats);
    ORVA_REQUIRE(memo == report, "recalculated report\n\"%s\"\nexpected\n\"%s\"",
                 Shown(memo).c_str(), Shown(report).c_str());
  }

  std::uintptr_t window_ = 0;
  Model model_;
};

// No window, no queued message, no error box and no stored placement: every
// input starts where a freshly loaded plug-in starts.
void Reset() {
  _Release();
  orva_pump();
  orva_clear_error_boxes();
  std::error_code ignored;
  fs::remove(host.placementFile, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (int fill = 1; fill < 256; ++fill) {
    for (std::size_t i = 0; i < kRecordSize; ++i) {
      ORVA_REQUIRE(FillPattern(static_cast<std::uint8_t>(fill))[i] ==
                       static_cast<unsigned char>(fill * 131 + i * 29),
                   "fill pattern %d differs at %zu", fill, i);
    }
  }
  host.dir = orva::fuzz::MakeScratchFolder("orva-exchange-fuzz");
  fs::create_directories(host.dir / "Plugins");
  std::ofstream(host.dir / "Plugins" / "ORVA.txt", std::ios::binary) << kReferenceFile;
  host.referenceLines = orva::fuzz::LinesBySpec(kReferenceFile);
  orva_set_executable_path((host.dir / "LOGGER.EXE").c_str());
  setenv("XDG_CONFIG_HOME", (host.dir / "config").c_str(), 1);
  host.placementFile = host.dir / "config" / "orva" / "Software" / "LOGGER" / "TfmMainForm.values";
  CreateLog(host.dir / "log.db");
  host.connection = orva_log_open((host.dir / "log.db").c_str());
  if (host.connection == 0) {
    std::fprintf(stderr, "log: %s\n", orva_log_last_error());
    std::abort();
  }
  std::atexit([] {
    Reset();
    orva_log_close(host.connection);
    fs::remove_all(host.dir);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orva::fuzz::Input input(data, size);
  Reset();
  Session session;
  if (input.Byte() % 2 == 0) {
    session.Run(Record());
  }
  while (!input.empty()) {
    const std::uint8_t operation = input.Byte();
    const Record record(input);
    const std::vector<unsigned char> before = record.bytes();
    session.Operate(operation, record);
    ORVA_REQUIRE(record.bytes() == before, "operation %u changed the host's record", operation);
  }
  Reset();
  return 0;
}
