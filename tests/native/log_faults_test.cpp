// The log failing underneath the plug-in: every file operation SQLite makes
// during a recalculation, and while a host opens its log, is made to fail in
// turn, once or from then on. Each run must end in the full report or in one
// error box over a usable window, and once the disk behaves again the next
// recalculation must give the full report: nothing is lost or miscounted.
//
// The failures come from a file-system layer of SQLite's own kind wrapped
// around the default one and made the default, so the plug-in's connections
// go through it without knowing.
#include "tests/native/plugin_fixture.h"

namespace orva {
namespace {

using test::ErrorBoxes;
using test::Memo;
using test::Plugin;

// Which call fails: none while `countdown` is 0; otherwise the countdown-th
// call from arming, and with `persistent` every call after it too.
struct FaultPlan {
  long countdown = 0;
  bool persistent = false;
  bool fired = false;
};

FaultPlan plan;

bool Fails() {
  if (plan.fired) {
    return plan.persistent;
  }
  if (plan.countdown > 0 && --plan.countdown == 0) {
    plan.fired = true;
  }
  return plan.fired;
}

struct FaultyFile {
  sqlite3_file base;
  sqlite3_file* real;  // the wrapped layer's file, just behind this struct
};

sqlite3_file* Real(sqlite3_file* file) {
  return reinterpret_cast<FaultyFile*>(file)->real;
}

sqlite3_vfs* RealVfs() {
  static sqlite3_vfs* const real = sqlite3_vfs_find(nullptr);
  return real;
}

int Close(sqlite3_file* f) {
  return Real(f)->pMethods->xClose(Real(f));
}
int Read(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
  return Fails() ? SQLITE_IOERR_READ : Real(f)->pMethods->xRead(Real(f), data, amount, offset);
}
int Write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  return Fails() ? SQLITE_IOERR_WRITE : Real(f)->pMethods->xWrite(Real(f), data, amount, offset);
}
int Truncate(sqlite3_file* f, sqlite3_int64 size) {
  return Fails() ? SQLITE_IOERR_TRUNCATE : Real(f)->pMethods->xTruncate(Real(f), size);
}
int Sync(sqlite3_file* f, int flags) {
  return Fails() ? SQLITE_IOERR_FSYNC : Real(f)->pMethods->xSync(Real(f), flags);
}
int FileSize(sqlite3_file* f, sqlite3_int64* size) {
  return Fails() ? SQLITE_IOERR_FSTAT : Real(f)->pMethods->xFileSize(Real(f), size);
}
int Lock(sqlite3_file* f, int level) {
  return Fails() ? SQLITE_IOERR_LOCK : Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
  return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* reserved) {
  return Fails() ? SQLITE_IOERR_CHECKRESERVEDLOCK
                 : Real(f)->pMethods->xCheckReservedLock(Real(f), reserved);
}
int FileControl(sqlite3_file* f, int op, void* arg) {
  return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}
int SectorSize(sqlite3_file* f) {
  return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
  return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}

// Version 1 of the methods: no shared memory or memory mapping, which a log
// in the default rollback-journal mode never needs.
const sqlite3_io_methods kFaultyMethods = {
    .iVersion = 1,
    .xClose = Close,
    .xRead = Read,
    .xWrite = Write,
    .xTruncate = Truncate,
    .xSync = Sync,
    .xFileSize = FileSize,
    .xLock = Lock,
    .xUnlock = Unlock,
    .xCheckReservedLock = CheckReservedLock,
    .xFileControl = FileControl,
    .xSectorSize = SectorSize,
    .xDeviceCharacteristics = DeviceCharacteristics,
    .xShmMap = nullptr,
    .xShmLock = nullptr,
    .xShmBarrier = nullptr,
    .xShmUnmap = nullptr,
    .xFetch = nullptr,
    .xUnfetch = nullptr,
};

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  auto* faulty = reinterpret_cast<FaultyFile*>(file);
  faulty->base.pMethods = nullptr;
  if (Fails()) {
    return SQLITE_CANTOPEN;
  }
  faulty->real = reinterpret_cast<sqlite3_file*>(faulty + 1);
  const int result = RealVfs()->xOpen(RealVfs(), name, faulty->real, flags, outFlags);
  if (faulty->real->pMethods) {
    faulty->base.pMethods = &kFaultyMethods;
  }
  return result;
}

void InstallFaultyVfs() {
  static sqlite3_vfs faulty = [] {
    sqlite3_vfs vfs = *RealVfs();
    vfs.szOsFile = static_cast<int>(sizeof(FaultyFile)) + RealVfs()->szOsFile;
    vfs.zName = "orva-faulty";
    vfs.xOpen = Open;
    return vfs;
  }();
  static const int registered = sqlite3_vfs_register(&faulty, 1);
  ASSERT_EQ(registered, SQLITE_OK);
}

constexpr long kMostCalls = 400;

class LogFaults : public Plugin, public testing::WithParamInterface<bool> {
 public:
  void SetUp() override {
    InstallFaultyVfs();
    Plugin::SetUp();
    // Enough rows for the table to span many pages.
    Sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
        " INSERT INTO LOG SELECT 'K' || i || 'AA', '20M', 'CW', '599 EU-' || (100 + i % 50),"
        " 'K', 'K', 'NA', 8 FROM n");
  }
  void TearDown() override {
    plan = {};
    Plugin::TearDown();
  }
  static void Arm(long countdown) { plan = {countdown, GetParam(), false}; }
};

TEST_P(LogFaults, EveryFailingCallInARecalculationEndsCleanAndLosesNothing) {
  const std::uintptr_t window = _Run(0, &record);
  const std::string whole = Memo(window);
  ASSERT_NE(whole.find("Total\t  3002\t"), std::string::npos) << whole;
  ASSERT_TRUE(ErrorBoxes().empty());
  long countdown = 1;
  for (; countdown <= kMostCalls; ++countdown) {
    SCOPED_TRACE("failing call " + std::to_string(countdown));
    // A change by the host makes the plug-in's connection read every page
    // afresh instead of from its cache; the zone plays no part in the score.
    Sql("UPDATE LOG SET ITUZone = ITUZone + 1");
    Arm(countdown);
    orva_window_press_button(window);
    const bool fired = plan.fired;
    plan = {};
    const std::vector<std::string> boxes = ErrorBoxes();
    EXPECT_LE(boxes.size(), 1u);
    if (boxes.empty()) {
      EXPECT_EQ(Memo(window), whole);
    }
    EXPECT_EQ(orva_window_button_enabled(window), 1);
    EXPECT_EQ(orva_window_state(window), ORVA_STATE_NORMAL);
    EXPECT_EQ(orva_window_press_button(window), ORVA_DELIVERED);
    EXPECT_EQ(Memo(window), whole);
    EXPECT_TRUE(ErrorBoxes().empty());
    if (!fired) {
      break;  // the recalculation made fewer calls than the countdown
    }
  }
  EXPECT_GT(countdown, 1);
  EXPECT_LE(countdown, kMostCalls) << "the sweep never reached the end of a recalculation";
}

TEST_P(LogFaults, EveryFailingCallWhileOpeningALogGivesAHandleOrAReason) {
  long countdown = 1;
  for (; countdown <= kMostCalls; ++countdown) {
    SCOPED_TRACE("failing call " + std::to_string(countdown));
    Arm(countdown);
    const std::uint32_t handle = orva_log_open(logPath.c_str());
    const bool fired = plan.fired;
    plan = {};
    if (handle == 0) {
      EXPECT_STRNE(orva_log_last_error(), "");
    } else {
      orva_log_close(handle);
    }
    const std::uint32_t again = orva_log_open(logPath.c_str());
    EXPECT_NE(again, 0u) << orva_log_last_error();
    orva_log_close(again);
    if (!fired) {
      break;
    }
  }
  EXPECT_GT(countdown, 1);
  EXPECT_LE(countdown, kMostCalls);
}

INSTANTIATE_TEST_SUITE_P(OnceOrFromThenOn, LogFaults, testing::Bool(),
                         [](const auto& info) { return info.param ? "Persistent" : "Transient"; });

}  // namespace
}  // namespace orva
