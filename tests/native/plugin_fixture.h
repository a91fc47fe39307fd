// What the plug-in's native tests share: a plug-in loaded beside a logger
// executable in a folder of its own, a small SQLite log it reads, and the
// host-side reads of its headless window and error boxes.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/native/orva_log.h"
#include "platform/native/orva_native.h"
#include "platform/native/orva_window.h"
#include "plugin/exports.h"
#include "tests/test_support.h"

namespace orva::test {

namespace fs = std::filesystem;

inline std::string Text(std::uintptr_t window, ptrdiff_t (*read)(uintptr_t, char*, size_t)) {
  std::array<char, 4096> buffer{};
  read(window, buffer.data(), buffer.size());
  return buffer.data();
}

inline std::string Memo(std::uintptr_t window) {
  return Text(window, orva_window_memo_text);
}

inline std::vector<std::string> ErrorBoxes() {
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
inline void AtNextMessagePoint(std::function<void()> action) {
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
    // The window stores its placement when it goes: into the test's folder,
    // never into the settings of the user running the tests.
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
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
    unsetenv("XDG_CONFIG_HOME");
    orva_clear_error_boxes();
    fs::remove_all(dir);
  }
  // The host's own writes to its log, through a connection of its own that
  // waits only briefly for a lock, as a host must not stall its operator.
  void Sql(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(logPath.c_str(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 50);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sql << ": " << sqlite3_errmsg(db);
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

inline const char* const kTwoQsoReport =
    "Band\t  QSOs\tPoints\t  ORVA\t\r\n"
    " 20M\t     1\t    15\t     1\t\r\n"
    " 40M\t     1\t     2\t     0\t\r\n"
    "Total\t     2\t    17\t     1\r\n"
    " Score: 17*1=17";

}  // namespace orva::test
