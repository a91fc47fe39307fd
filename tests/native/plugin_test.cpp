// The plug-in as a host sees it on the native build: the six exports, the
// statistics window they open (driven through the headless toolkit), the log
// read through the SQLite layer, and host code that runs while the plug-in
// lets messages through.
#include <dlfcn.h>

#include <fstream>
#include <sstream>

#include "tests/native/plugin_fixture.h"

namespace orva {
namespace {

using test::AtNextMessagePoint;
using test::ErrorBoxes;
using test::kTwoQsoReport;
using test::Memo;
using test::Plugin;
using test::Text;
namespace fs = std::filesystem;

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
  // The host logs its next QSO while the window shows the failure.
  Sql("INSERT INTO LOG (CallSign) VALUES ('W1AW')");
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

TEST_F(Plugin, BandsAreReportedInByteOrderOfTheirFirstCallSigns) {
  // A column that SQLite would order without regard to case, and by type.
  Sql("CREATE TABLE MIXED (CallSign COLLATE NOCASE, DigiBand, QSOMode, QSOReportRecived,"
      " DXCCPrefix, MainPrefix, Continent, ITUZone);"
      "INSERT INTO MIXED (CallSign, DigiBand) VALUES"
      " (9, '3M'), ('a1', '6M'), (x'41', '4M'), (2.5, '2M'), ('B1', '5M'), (10, '1M')");
  record.TableName.assign("MIXED");
  const std::uintptr_t window = _Run(0, &record);
  std::vector<std::string> bands;
  std::istringstream lines(Memo(window));
  for (std::string line; std::getline(lines, line);) {
    bands.push_back(line.substr(0, line.find('\t')));
  }
  EXPECT_EQ(bands, (std::vector<std::string>{"Band", "  1M", "  2M", "  3M", "  4M", "  5M", "  6M",
                                             "Total", " Score: 12*0=0"}));
}

// Log tables named in the operator's letters. The SQLite layer hands the
// query text over byte for byte, so a letter beyond ASCII before a closing
// quote joins nothing and reads like any other.
class TableNamedBeyondAscii : public Plugin, public testing::WithParamInterface<const char*> {};

TEST_P(TableNamedBeyondAscii, IsReadLikeAnyOther) {
  Sql(std::string("CREATE TABLE ") + GetParam() + " AS SELECT * FROM LOG");
  record.TableName.assign(GetParam());
  const std::uintptr_t window = _Run(0, &record);
  EXPECT_EQ(Memo(window), kTwoQsoReport);
  EXPECT_TRUE(ErrorBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Plugin, TableNamedBeyondAscii,
                         testing::Values("[Мой Журнал]", "\"Log été\"", "`Ω`", "main.[Ω]",
                                         "[LOG-é]", "\"Ελληνικά\"", "main.`Журнал`",
                                         "[\xC6\xF3\xF0\xED\xE0\xEB]"));

// The plug-in loaded anew, with the headless screen set around its loading.
class FreshLibrary : public Plugin {
 public:
  void TearDown() override {
    if (library) {
      dlclose(library);
    }
    orva_set_screen(1920, 1080, 96);
    Plugin::TearDown();
  }
  void Load() {
    const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "RARIREZazoriz.so";
    library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    getInfo = reinterpret_cast<decltype(&_GetInfo)>(dlsym(library, "_GetInfo"));
    run = reinterpret_cast<decltype(&_Run)>(dlsym(library, "_Run"));
    release = reinterpret_cast<decltype(&_Release)>(dlsym(library, "_Release"));
    ASSERT_TRUE(getInfo && run && release);
  }
  // A value of the window's stored placement, as the settings file holds it.
  std::string Stored(const std::string& name) const {
    std::ifstream file(dir / "config/orva/Software/LOGGER/TfmMainForm.values");
    const std::string prefix = "sz:" + name + "=";
    for (std::string line; std::getline(file, line);) {
      if (line.rfind(prefix, 0) == 0) {
        return line.substr(prefix.size());
      }
    }
    return "(none)";
  }
  std::string Bounds(std::uintptr_t window) const {
    orva_rect bounds{};
    orva_window_bounds(window, &bounds);
    return std::to_string(bounds.left) + "," + std::to_string(bounds.top) + "," +
           std::to_string(bounds.right) + "," + std::to_string(bounds.bottom);
  }

  void* library = nullptr;
  decltype(&_GetInfo) getInfo = nullptr;
  decltype(&_Run) run = nullptr;
  decltype(&_Release) release = nullptr;
};

TEST_F(FreshLibrary, WindowsAndPlacementsKeepTheDensityThePluginStartedAt) {
  // The form's 950,138 374x196 at 120 pixels per inch.
  const std::string at120 = "1188,173,1656,418";
  orva_set_screen(1920, 1080, 120);
  ASSERT_NO_FATAL_FAILURE(Load());
  // A host asks for the plug-in's identity first: the plug-in starts there.
  std::array<unsigned char, 520> info{};
  getInfo(info.data());
  orva_set_screen(1920, 1080, 144);
  EXPECT_EQ(Bounds(run(0, &record)), at120);
  release();
  orva_pump();
  EXPECT_EQ(Stored("PixelsPerInch"), "120");
  EXPECT_EQ(Stored("NormPos"), at120);

  // Without a stored placement, a second window shows its own layout.
  fs::remove_all(dir / "config");
  orva_set_screen(1920, 1080, 72);
  EXPECT_EQ(Bounds(run(0, &record)), at120);
  release();
  orva_pump();
  EXPECT_EQ(Stored("PixelsPerInch"), "120");
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

TEST_F(Plugin, UnloadingTheLibraryDestroysAWindowStillAlive) {
  const fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() / "RARIREZazoriz.so";
  void* library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto run = reinterpret_cast<decltype(&_Run)>(dlsym(library, "_Run"));
  ASSERT_NE(run, nullptr);
  const std::uintptr_t window = run(0, &record);
  ASSERT_TRUE(orva_window_exists(window));
  dlclose(library);
  EXPECT_FALSE(orva_window_exists(window));
}

}  // namespace
}  // namespace orva
