// The plug-in as a host sees it on the native build: the six exports, the
// statistics window they open (driven through the headless toolkit), the log
// read through the SQLite layer, and host code that runs while the plug-in
// lets messages through.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/native/orva_log.h"
#include "platform/native/orva_window.h"
#include "plugin/exports.h"
#include "tests/test_support.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

std::string Text(std::uintptr_t window, ptrdiff_t (*read)(uintptr_t, char*, size_t)) {
  std::array<char, 4096> buffer{};
  read(window, buffer.data(), buffer.size());
  return buffer.data();
}

std::string Memo(std::uintptr_t window) {
  return Text(window, orva_window_memo_text);
}

std::vector<std::string> ErrorBoxes() {
  std::vector<std::string> boxes;
  for (size_t i = 0; i < orva_error_box_count(); ++i) {
    std::array<char, 512> caption{}, text{};
    orva_error_box_caption(i, caption.data(), caption.size());
    orva_error_box_text(i, text.data(), text.size());
    boxes.push_back(std::string(caption.data()) + ": " + text.data());
  }
  orva_clear_error_boxes();
  return boxes;
}

// Runs `action` the next time the plug-in lets messages through.
void AtNextMessagePoint(std::function<void()> action) {
  static std::function<void()> pending;
  pending = std::move(action);
  orva_post_callback([](void*) { pending(); }, nullptr);
}

class Plugin : public testing::Test {
 public:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orva-plugin-" + std::to_string(getpid()));
    fs::create_directories(dir / "Plugins");
    orva_set_executable_path((dir / "LOGGER.EXE").c_str());
    logPath = (dir / "log.db").string();
    Sql("CREATE TABLE LOG (CallSign TEXT, DigiBand TEXT, QSOMode TEXT, QSOReportRecived TEXT,"
        " DXCCPrefix TEXT, MainPrefix TEXT, Continent TEXT, ITUZone INTEGER)");
    AddRow("DL1ABC", "20M", "CW", "599 EU-005");
    AddRow("OK1XYZ", "40M", "CW", "599 001");
    connection = orva_log_open(logPath.c_str());
    ASSERT_NE(connection, 0u) << orva_log_last_error();
    record = test::BlankRecord();
    record.Connection = connection;
    record.TableName.assign("LOG");
    record.CaptionText.assign("ORVA");
  }
  void TearDown() override {
    _Release();
    orva_pump();
    orva_log_close(connection);
    orva_set_executable_path(nullptr);
    orva_clear_error_boxes();
    fs::remove_all(dir);
  }
  void Sql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(logPath.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
  }
  void AddRow(const std::string& call, const std::string& band, const std::string& mode,
              const std::string& exchange) {
    Sql("INSERT INTO LOG VALUES ('" + call + "','" + band + "','" + mode + "','" + exchange +
        "','DL','DL','eu',28)");
  }
  std::int32_t Add(const char* call, const char* band, const char* mode, const char* exchange) {
    const TExchangeRecord qso = Qso(call, band, mode, exchange);
    return _AddQSO(&qso);
  }
  TExchangeRecord Qso(const char* call, const char* band, const char* mode, const char* exchange) {
    TExchangeRecord qso = record;
    qso.CallSign.assign(call);
    qso.DigiBand.assign(band);
    qso.QSOMode.assign(mode);
    qso.QSOReportRecived.assign(exchange);
    return qso;
  }
  std::string Grab(const char* call) {
    TExchangeRecord qso = record;
    qso.CallSign.assign(call);
    std::array<unsigned char, 256> buffer{};
    buffer.fill(0xCC);
    _GrabNumber(&qso, buffer.data());
    return std::string(reinterpret_cast<char*>(&buffer[1]), buffer[0]);
  }

  fs::path dir;
  std::string logPath;
  std::uint32_t connection = 0;
  TExchangeRecord record;
};

const char* const kTwoQsoReport =
    "Band\t  QSOs\tPoints\t  ORVA\t\r\n"
    " 20M\t     1\t    15\t     1\t\r\n"
    " 40M\t     1\t     2\t     0\t\r\n"
    "Total\t     2\t    17\t     1\r\n"
    " Score: 17*1=17";

TEST_F(Plugin, WithoutAWindowEveryCallAnswersNothing) {
  EXPECT_EQ(Add("DL1ABC", "20M", "CW", "EU-005"), 0);
  const TExchangeRecord qso = Qso("DL1ABC", "20M", "CW", "EU-005");
  EXPECT_EQ(_GetScore(&qso), 0);
  EXPECT_EQ(Grab("DL1ABC"), "");
  _Release();
  _Release();
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(Plugin, NullAddressesAreIgnored) {
  EXPECT_EQ(_Run(0, nullptr), 0u);
  EXPECT_EQ(_AddQSO(nullptr), 0);
  EXPECT_EQ(_GetScore(nullptr), 0);
  _GrabNumber(&record, nullptr);
  _GrabNumber(nullptr, nullptr);
  _GetInfo(nullptr);
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(Plugin, RunOpensTheWindowAndRecalculatesFromTheLog) {
  const std::uintptr_t window = _Run(0, &record);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_NORMAL);
  EXPECT_EQ(Text(window, orva_window_caption), "ORVA in ORVA SWL DX Contest");
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  EXPECT_EQ(orva_window_button_enabled(window), 1);
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(Plugin, AddScoresRecordsAndRebuildsTheReport) {
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(Add("DL1ABC", "20M", "CW", "EU-005"), -1);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  EXPECT_EQ(Add("SP5AAA", "40M", "CW", "599 59001"), 0);
  EXPECT_EQ(Add("SP5AAA", "40M", "CW", "599 59001"), -1);
  const TExchangeRecord qso = Qso("F5AA", "20M", "SSB", "eu-005");
  EXPECT_EQ(_GetScore(&qso), 15);
  EXPECT_EQ(_GetScore(&qso), 15);
  EXPECT_NE(Memo(window).find(" 40M\t     2\t     2\t     1\t"), std::string::npos) << Memo(window);
}

TEST_F(Plugin, SecondRunKeepsTheWindowAsItIs) {
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(orva_window_sys_command(window, ORVA_SC_CLOSE), ORVA_DELIVERED);
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_MINIMIZED);
  AddRow("W1AW", "20M", "SSB", "NA-001");
  TExchangeRecord other = record;
  other.CaptionText.assign("OTHER");
  EXPECT_EQ(_Run(0, &other), window);
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_MINIMIZED);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  EXPECT_EQ(Text(window, orva_window_caption), "ORVA in ORVA SWL DX Contest");
  EXPECT_EQ(Add("G4ABC", "20M", "CW", ""), 2);  // a minimized window keeps scoring
}

TEST_F(Plugin, ButtonRecalculatesFromTheLog) {
  const std::uintptr_t window = _Run(0, &record);
  AddRow("W1AW", "20M", "SSB", "NA-001");
  orva_window_memo_text(window, nullptr, 0);
  EXPECT_EQ(orva_window_press_button(window), ORVA_DELIVERED);
  EXPECT_NE(Memo(window).find(" Score: 32*2=64"), std::string::npos) << Memo(window);
}

TEST_F(Plugin, CloseRequestLetsGoOfTheWindow) {
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(orva_window_close(window), ORVA_DELIVERED);
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_HIDDEN);
  EXPECT_EQ(Add("G4ABC", "20M", "CW", ""), 0);
  orva_pump();
  EXPECT_FALSE(orva_window_exists(window));
  const std::uintptr_t fresh = _Run(0, &record);
  EXPECT_NE(fresh, window);
  EXPECT_EQ(Memo(fresh), kTwoQsoReport);
}

TEST_F(Plugin, LogOffQueryKeepsTheWindowAndItsStatistics) {
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(Add("G4ABC", "20M", "CW", ""), 2);
  EXPECT_EQ(orva_window_query_end_session(window), ORVA_DELIVERED);
  orva_pump();
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_NORMAL);
  EXPECT_EQ(Add("G4ABC", "20M", "CW", ""), -1);
  EXPECT_EQ(orva_window_press_button(window), ORVA_DELIVERED);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
}

TEST_F(Plugin, ReleaseDestroysAtTheNextTurnOfTheLoop) {
  const std::uintptr_t window = _Run(0, &record);
  _Release();
  EXPECT_TRUE(orva_window_exists(window));
  EXPECT_EQ(Add("G4ABC", "20M", "CW", ""), 0);
  orva_pump();
  EXPECT_FALSE(orva_window_exists(window));
}

struct FailureCase {
  const char* name;
  std::function<void(Plugin&)> prepare;
  std::string box;
};

class RecalculationFailure : public Plugin, public testing::WithParamInterface<FailureCase> {};

TEST_P(RecalculationFailure, EndsInOneErrorBoxAndAUsableWindow) {
  GetParam().prepare(*this);
  const std::uintptr_t window = _Run(0, &record);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(ErrorBoxes(), std::vector<std::string>{"Logger: " + GetParam().box});
  EXPECT_EQ(Memo(window), "");
  EXPECT_EQ(orva_window_button_enabled(window), 1);
  EXPECT_EQ(orva_window_state(window), ORVA_STATE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecalculationFailure,
    testing::Values(
        FailureCase{"MissingColumn",
                    [](Plugin& p) {
                      p.Sql(
                          "CREATE TABLE NOZONE AS SELECT CallSign, DigiBand, QSOMode,"
                          " QSOReportRecived, DXCCPrefix, MainPrefix, Continent FROM LOG");
                      p.record.TableName.assign("NOZONE");
                    },
                    "LogQuery: Field 'ITUZone' not found."},
        FailureCase{"NoConnection", [](Plugin& p) { p.record.Connection = 0; },
                    "Missing Connection or ConnectionString."},
        FailureCase{"NoSuchTable", [](Plugin& p) { p.record.TableName.assign("NOPE"); },
                    "no such table: NOPE."},
        FailureCase{"UnsafeTableName", [](Plugin& p) { p.record.TableName.assign("LOG;"); },
                    "Invalid table name 'LOG;'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Plugin, RetryAfterAFailedRecalculationSucceeds) {
  record.TableName.assign("NOPE");
  const std::uintptr_t window = _Run(0, &record);
  ErrorBoxes();
  // The record copied last names the table the next recalculation reads.
  TExchangeRecord fixed = record;
  fixed.TableName.assign("LOG");
  _GetScore(&fixed);
  EXPECT_EQ(orva_window_press_button(window), ORVA_DELIVERED);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(Plugin, ReferenceFileBesideTheHostPrefillsExchanges) {
  std::ofstream(dir / "Plugins" / "ORVA.txt") << "DL1ABC=EU-005\r\nW1AW=NA-001\r\n";
  _Run(0, &record);
  EXPECT_EQ(Grab("DL1ABC"), " EU-005");
  EXPECT_EQ(Grab("K1ABC"), "");
}

// Host code running while the plug-in lets messages through.
class ReEntry : public Plugin {};

TEST_F(ReEntry, ReleaseDuringTheFirstRecalculationWaitsForItsEnd) {
  AtNextMessagePoint([] { _Release(); });
  const std::uintptr_t window = _Run(0, &record);
  ASSERT_TRUE(orva_window_exists(window));
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  orva_pump();
  EXPECT_FALSE(orva_window_exists(window));
}

TEST_F(ReEntry, CloseRequestDuringARecalculationDoesNotCutItShort) {
  const std::uintptr_t window = _Run(0, &record);
  AtNextMessagePoint([window] { orva_window_query_end_session(window); });
  orva_window_press_button(window);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  AtNextMessagePoint([window] { orva_window_close(window); });
  orva_window_press_button(window);
  orva_pump();
  EXPECT_FALSE(orva_window_exists(window));
}

TEST_F(ReEntry, RunAndAddDuringTheFirstRecalculation) {
  std::uintptr_t inner = 0;
  std::int32_t points = 99;
  AtNextMessagePoint([&] {
    inner = _Run(0, &record);
    points = Add("G4ABC", "20M", "CW", "");
  });
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(inner, window);
  EXPECT_EQ(points, 2);
  EXPECT_EQ(orva_windows(nullptr, 0), 1u);
}

TEST_F(ReEntry, ReleaseAndRunAgainDuringARecalculation) {
  const std::uintptr_t first = _Run(0, &record);
  std::uintptr_t second = 0;
  AtNextMessagePoint([&] {
    _Release();
    second = _Run(0, &record);
  });
  orva_window_press_button(first);
  EXPECT_NE(second, first);
  EXPECT_EQ(Memo(first), kTwoQsoReport);
  EXPECT_EQ(Memo(second), kTwoQsoReport);
  orva_pump();
  EXPECT_FALSE(orva_window_exists(first));
  EXPECT_TRUE(orva_window_exists(second));
}

TEST_F(ReEntry, ButtonPressedWhileAClickWaitsRunsTwoWholeRecalculations) {
  const std::uintptr_t window = _Run(0, &record);
  int presses = 0;
  AtNextMessagePoint([&] { presses += orva_window_press_button(window) == ORVA_DELIVERED; });
  orva_window_press_button(window);
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
}

TEST(Library, UnloadingDestroysAWindowStillAlive) {
  const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "RARIREZazoriz.so";
  void* library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto run = reinterpret_cast<decltype(&_Run)>(dlsym(library, "_Run"));
  ASSERT_NE(run, nullptr);
  TExchangeRecord record = test::BlankRecord();
  const std::uintptr_t window = run(0, &record);
  ASSERT_TRUE(orva_window_exists(window));
  orva_clear_error_boxes();  // no connection: the recalculation said so
  dlclose(library);
  EXPECT_FALSE(orva_window_exists(window));
}

}  // namespace
}  // namespace orva
