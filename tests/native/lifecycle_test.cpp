// The host calling in any order and from anywhere: every host call made at
// each point where the plug-in lets host code run, the window's life under
// every short sequence of opening, releasing, closing and message turns, and
// a thousand open/release cycles that must leave nothing behind.
#include <malloc.h>

#include "tests/native/plugin_fixture.h"

namespace orva {
namespace {

using test::AtNextMessagePoint;
using test::ErrorBoxes;
using test::kTwoQsoReport;
using test::Memo;
using test::Plugin;

struct HostCall {
  const char* name;
  std::function<void(Plugin&, std::uintptr_t window)> call;
};

const std::vector<HostCall>& HostCalls() {
  static const std::vector<HostCall> calls = {
      {"GetInfo",
       [](Plugin&, std::uintptr_t) {
         std::array<unsigned char, 1024> info{};
         _GetInfo(info.data());
       }},
      {"Run", [](Plugin& p, std::uintptr_t) { _Run(0, &p.record); }},
      {"AddQSO", [](Plugin& p, std::uintptr_t) { p.Add("G4ABC", "20M", "CW", "EU-005"); }},
      {"GetScore",
       [](Plugin& p, std::uintptr_t) {
         const TExchangeRecord qso = p.Qso("G4ABC", "20M", "CW", "EU-005");
         _GetScore(&qso);
       }},
      {"GrabNumber", [](Plugin& p, std::uintptr_t) { p.Grab("DL1ABC"); }},
      {"Release", [](Plugin&, std::uintptr_t) { _Release(); }},
      {"ReleaseAndRun",
       [](Plugin& p, std::uintptr_t) {
         _Release();
         _Run(0, &p.record);
       }},
      {"CloseRequest", [](Plugin&, std::uintptr_t w) { orva_window_close(w); }},
      {"CloseButton", [](Plugin&, std::uintptr_t w) { orva_window_sys_command(w, ORVA_SC_CLOSE); }},
      {"LogOffQuery", [](Plugin&, std::uintptr_t w) { orva_window_query_end_session(w); }},
      {"ButtonPress", [](Plugin&, std::uintptr_t w) { orva_window_press_button(w); }},
      {"MessageTurn", [](Plugin&, std::uintptr_t) { orva_pump(); }},
  };
  return calls;
}

// A report the window may show once the interrupted work is done: the log's
// two QSOs, with or without the one a host call added meanwhile.
bool IsWholeReport(const std::string& memo) {
  return memo == kTwoQsoReport ||
         (memo.find("Total\t     3\t    32\t     1\r\n") != std::string::npos &&
          memo.find(" Score: 32*1=32") != std::string::npos);
}

// Where host code runs inside the plug-in's work.
enum class Point { kFirstRecalculation, kButtonRecalculation, kErrorBox };

struct ReEntryCase {
  Point point;
  const HostCall* call;
};

std::string CaseName(const testing::TestParamInfo<ReEntryCase>& info) {
  static const char* const kPoints[] = {"InFirstRecalculation", "InButtonRecalculation",
                                        "InErrorBox"};
  return std::string(info.param.call->name) + kPoints[static_cast<int>(info.param.point)];
}

std::vector<ReEntryCase> AllReEntryCases() {
  std::vector<ReEntryCase> cases;
  for (Point point : {Point::kFirstRecalculation, Point::kButtonRecalculation, Point::kErrorBox}) {
    for (const HostCall& call : HostCalls()) {
      cases.push_back({point, &call});
    }
  }
  return cases;
}

class HostCallInside : public Plugin, public testing::WithParamInterface<ReEntryCase> {
 public:
  static void OnErrorBox(void* self, const char*, const char*) {
    auto* test = static_cast<HostCallInside*>(self);
    if (!test->calledInBox) {
      test->calledInBox = true;
      test->GetParam().call->call(*test, test->window);
    }
  }

  std::uintptr_t window = 0;
  bool calledInBox = false;
};

TEST_P(HostCallInside, LeavesOneConsistentWindowOrNone) {
  const ReEntryCase& c = GetParam();
  if (c.point == Point::kFirstRecalculation) {
    AtNextMessagePoint([this, &c] { c.call->call(*this, window); });
    window = _Run(0, &record);
  } else {
    window = _Run(0, &record);
    if (c.point == Point::kErrorBox) {
      orva_set_error_box_listener(&HostCallInside::OnErrorBox, this);
      record.TableName.assign("NOPE");  // the next recalculation fails into a box
      const TExchangeRecord failing = record;
      _GetScore(&failing);
    } else {
      AtNextMessagePoint([this, &c] { c.call->call(*this, window); });
    }
    orva_window_press_button(window);
    orva_set_error_box_listener(nullptr, nullptr);
  }
  ASSERT_NE(window, 0u);
  orva_pump();

  uintptr_t live[4] = {};
  ASSERT_LE(orva_windows(live, 4), 1u);
  if (orva_windows(nullptr, 0) == 1 && c.point != Point::kErrorBox) {
    EXPECT_TRUE(IsWholeReport(Memo(live[0]))) << Memo(live[0]);
    EXPECT_EQ(orva_window_button_enabled(live[0]), 1);
  }
  if (c.point != Point::kErrorBox) {
    EXPECT_TRUE(ErrorBoxes().empty());
  }
  _Release();
  orva_pump();
  EXPECT_EQ(orva_windows(nullptr, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryPoint, HostCallInside, testing::ValuesIn(AllReEntryCases()),
                         CaseName);

// The window's life under every sequence of four host steps, checked against
// a model of what the host is told: opening gives the main window, or a new
// one when there is none; releasing and a close request let go of it at
// once and destroy it at the next message turn, which a new window's first
// recalculation also takes.
enum class Step { kRun, kRelease, kClose, kPump };

class StepSequences : public Plugin {
 public:
  void Apply(Step step) {
    switch (step) {
      case Step::kRun: {
        const std::uintptr_t window = _Run(0, &record);
        if (main != 0) {
          EXPECT_EQ(window, main);
        } else {
          EXPECT_NE(window, 0u);
          for (std::uintptr_t old : dying) {
            EXPECT_NE(window, old);
          }
          dying.clear();  // the new window's first recalculation lets messages run
        }
        main = window;
        return;
      }
      case Step::kRelease:
        _Release();
        return LetGo();
      case Step::kClose:
        if (main != 0) {
          EXPECT_EQ(orva_window_close(main), ORVA_DELIVERED);
        }
        return LetGo();
      case Step::kPump:
        orva_pump();
        dying.clear();
        return;
    }
  }
  void LetGo() {
    if (main != 0) {
      dying.push_back(main);
    }
    main = 0;
  }
  void CheckModel() {
    EXPECT_EQ(orva_windows(nullptr, 0), dying.size() + (main != 0 ? 1 : 0));
    if (main != 0) {
      EXPECT_EQ(Memo(main), kTwoQsoReport);
      EXPECT_EQ(orva_window_state(main), ORVA_STATE_NORMAL);
    }
    // A window let go of scores nothing: the host's calls answer as if none.
    const TExchangeRecord qso = Qso("G4ABC", "20M", "CW", "");
    EXPECT_EQ(_GetScore(&qso), main != 0 ? 2 : 0);
  }

  std::uintptr_t main = 0;
  std::vector<std::uintptr_t> dying;
};

TEST_F(StepSequences, EveryOrderOfFourStepsMatchesTheModel) {
  constexpr int kSteps = 4;
  constexpr int kKinds = 4;
  int sequences = 1;
  for (int i = 0; i < kSteps; ++i) {
    sequences *= kKinds;
  }
  for (int sequence = 0; sequence < sequences; ++sequence) {
    std::string trace;
    for (int i = 0, code = sequence; i < kSteps; ++i, code /= kKinds) {
      const auto step = static_cast<Step>(code % kKinds);
      trace += "RXCP"[code % kKinds];
      Apply(step);
      SCOPED_TRACE(trace);
      CheckModel();
    }
    _Release();
    orva_pump();
    main = 0;
    dying.clear();
    ASSERT_EQ(orva_windows(nullptr, 0), 0u) << trace;
    ASSERT_TRUE(ErrorBoxes().empty()) << trace;
  }
}

#if !defined(__SANITIZE_ADDRESS__)
TEST_F(Plugin, AThousandOpenReleaseCyclesLeaveNoMemoryBehind) {
  const auto cycle = [this] {
    _Run(0, &record);
    _Release();
    orva_pump();
  };
  for (int i = 0; i < 20; ++i) {
    cycle();  // caches and pools reach their working size
  }
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 1000; ++i) {
    cycle();
  }
  const std::size_t after = mallinfo2().uordblks;
  EXPECT_EQ(orva_windows(nullptr, 0), 0u);
  // A leak of one small allocation a cycle (32 bytes and up) breaks this bound.
  EXPECT_LT(after, before + 16 * 1024) << "before " << before << ", after " << after;
}
#endif

}  // namespace
}  // namespace orva
