// The headless window toolkit as its owner and a host meet it: the events in
// the platform's order, the placement and bounds, the message queue, the
// error boxes, and the misuse that aborts at once.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/native/orva_window.h"
#include "platform/toolkit.h"
#include "tests/offscreen_placement.h"
#include "window/main_form.h"

namespace orva {
namespace {

using platform::WindowState;

// The window's owner: logs every event (with the window's visibility at that
// moment) and runs what a test hooks onto it.
class Recorder : public platform::WindowEvents {
 public:
  explicit Recorder(int pixelsPerInch = platform::kDesignPixelsPerInch)
      : window(platform::CreateFormWindow(MainFormDesign(), pixelsPerInch, *this)) {}

  std::uintptr_t handle() const { return window->NativeHandle(); }

  std::unique_ptr<platform::FormWindow> window;
  std::vector<std::string> log;
  bool handlesSysCommands = false;
  std::function<void(const std::string& event)> react;

  void OnShowing() override { Record("showing"); }
  bool OnSysCommand(std::uint32_t command) override {
    Record("sys " + std::to_string(command));
    return handlesSysCommands;
  }
  void OnCloseRequest() override { Record("close"); }
  void OnQueryEndSession() override { Record("query-end-session"); }
  void OnButtonClick() override { Record("click"); }
  void OnReleaseRequest() override { Record("release"); }

 private:
  void Record(const std::string& event) {
    log.push_back(event + (window && window->IsVisible() ? " (visible)" : " (hidden)"));
    if (react) {
      react(event);
    }
  }
};

class HeadlessToolkit : public testing::Test {
 protected:
  void SetUp() override {
    orva_pump();
    orva_clear_error_boxes();
    orva_set_error_box_listener(nullptr, nullptr);
  }
  void TearDown() override { orva_set_error_box_listener(nullptr, nullptr); }
};

TEST_F(HeadlessToolkit, ShowFromHiddenRunsOnShowingBeforeTheWindowIsVisible) {
  Recorder owner;
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_HIDDEN);
  owner.window->Show();
  owner.window->Show();
  EXPECT_EQ(owner.log, std::vector<std::string>{"showing (hidden)"});
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_NORMAL);

  owner.window->Hide();
  owner.window->Show();
  EXPECT_EQ(owner.log.size(), 2u);
}

TEST_F(HeadlessToolkit, ShowKeepsAMinimizedWindowMinimized) {
  Recorder owner;
  owner.window->SetState(WindowState::kMinimized);
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_HIDDEN);
  owner.window->Show();
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_MINIMIZED);
  owner.window->Show();
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_MINIMIZED);
  EXPECT_EQ(owner.log.size(), 1u);
}

TEST_F(HeadlessToolkit, ShowAgainFromInsideOnShowingDoesNotShowTwice) {
  Recorder owner;
  owner.react = [&](const std::string&) { owner.window->Show(); };
  owner.window->Show();
  EXPECT_EQ(owner.log, std::vector<std::string>{"showing (hidden)"});
  EXPECT_TRUE(owner.window->IsVisible());
}

TEST_F(HeadlessToolkit, NewWindowIsPlacedAsDesignedWithUnsetMinMaxPositions) {
  Recorder owner;
  const platform::WindowPlacement placement = owner.window->Placement();
  EXPECT_EQ(placement.normalPosition, (Rect{950, 138, 1324, 334}));
  EXPECT_EQ(placement.minPosition, (Point{-1, -1}));
  EXPECT_EQ(placement.maxPosition, (Point{-1, -1}));
  EXPECT_EQ(placement.showCmd, platform::kSwShowNormal);
  EXPECT_EQ(owner.window->Bounds(), placement.normalPosition);
  EXPECT_EQ(owner.window->Caption(), "ORVA SWL DX Contest");
  EXPECT_TRUE(owner.window->IsButtonEnabled());
}

TEST_F(HeadlessToolkit, NewWindowIsLaidOutAtTheDensityItIsGivenNotTheScreens) {
  const struct {
    int pixelsPerInch;
    Rect bounds;
  } densities[] = {
      {72, {713, 104, 994, 251}}, {120, {1188, 173, 1656, 418}}, {144, {1425, 207, 1986, 501}}};
  for (const auto& density : densities) {
    orva_set_screen(1920, 1080, 200);  // a density no window is given
    Recorder owner(density.pixelsPerInch);
    orva_set_screen(1920, 1080, 96);
    EXPECT_EQ(owner.window->Bounds(), density.bounds) << density.pixelsPerInch;
  }
}

struct PlacementCase {
  std::uint32_t showCmd;
  int hostState;
  std::uint32_t showCmdAfter;
};

class SetPlacement : public HeadlessToolkit, public testing::WithParamInterface<PlacementCase> {};

TEST_P(SetPlacement, MovesAndAppliesTheShowCommandWithoutOnShowing) {
  const auto& [showCmd, hostState, showCmdAfter] = GetParam();
  Recorder owner;
  platform::WindowPlacement placement = owner.window->Placement();
  placement.flags = 2;
  placement.showCmd = showCmd;
  placement.minPosition = {10, 20};
  placement.maxPosition = {-4, -4};
  placement.normalPosition = {100, 50, 500, 300};
  owner.window->SetPlacement(placement);

  EXPECT_TRUE(owner.log.empty());
  EXPECT_EQ(orva_window_state(owner.handle()), hostState);
  placement.showCmd = showCmdAfter;
  EXPECT_EQ(owner.window->Placement(), placement);
}

INSTANTIATE_TEST_SUITE_P(
    ShowCommands, SetPlacement,
    testing::Values(
        PlacementCase{platform::kSwHide, ORVA_STATE_HIDDEN, platform::kSwShowNormal},
        PlacementCase{platform::kSwShowNormal, ORVA_STATE_NORMAL, platform::kSwShowNormal},
        PlacementCase{platform::kSwShowMinimized, ORVA_STATE_MINIMIZED, platform::kSwShowMinimized},
        PlacementCase{platform::kSwShowMaximized, ORVA_STATE_MAXIMIZED,
                      platform::kSwShowMaximized}));

class OffscreenPlacement : public HeadlessToolkit,
                           public testing::WithParamInterface<test::OffscreenParam> {
 protected:
  void SetUp() override {
    HeadlessToolkit::SetUp();
    orva_set_screen(test::kOffscreenWidth, test::kOffscreenHeight, 96);
  }
  void TearDown() override {
    orva_set_screen(1920, 1080, 96);
    HeadlessToolkit::TearDown();
  }
};

TEST_P(OffscreenPlacement, PutsTheRestoredWindowWhereTheSystemPutsIt) {
  Recorder owner;
  test::ExpectPlacedAsTheSystemPlacesIt(*owner.window, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, OffscreenPlacement,
                         testing::Combine(testing::ValuesIn(test::kOffscreenCases),
                                          testing::ValuesIn(test::kOffscreenShowCommands)),
                         test::OffscreenParamName);

class ExtremePlacement : public HeadlessToolkit,
                         public testing::WithParamInterface<test::OffscreenCase> {};

// Stored settings may hold any 32-bit numbers; moving them onto the screen
// must neither overflow nor leave the window off it.
TEST_P(ExtremePlacement, ComesOntoTheScreenWithoutOverflowing) {
  Recorder owner;
  platform::WindowPlacement placement = owner.window->Placement();
  placement.normalPosition = GetParam().applied;
  owner.window->SetPlacement(placement);
  EXPECT_EQ(test::RectText(owner.window->Bounds()), test::RectText(GetParam().shown));
}

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

INSTANTIATE_TEST_SUITE_P(
    Numbers, ExtremePlacement,
    testing::Values(test::OffscreenCase{"Least", {kMin, kMin, 0, 0}, {0, 0, kMax, kMax}},
                    test::OffscreenCase{
                        "Greatest", {kMax - 1, 0, kMax, 300}, {1919, 0, 1920, 300}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeadlessToolkit, HidingKeepsTheStateAndBoundsFollowIt) {
  Recorder owner;
  owner.window->Show();
  owner.window->SetState(WindowState::kMaximized);
  EXPECT_EQ(owner.window->Bounds(), (Rect{-4, -4, 1924, 1084}));
  owner.window->Hide();
  EXPECT_EQ(owner.window->State(), WindowState::kMaximized);
  EXPECT_EQ(owner.window->Placement().showCmd, platform::kSwShowMaximized);
  owner.window->SetState(WindowState::kMinimized);
  EXPECT_EQ(owner.window->Bounds(), (Rect{-32000, -32000, -31840, -31972}));
  owner.window->SetState(WindowState::kNormal);
  EXPECT_EQ(owner.window->Bounds(), (Rect{950, 138, 1324, 334}));
}

TEST_F(HeadlessToolkit, HandlesAreNonzeroAndNeverReused) {
  std::vector<std::uintptr_t> seen;
  for (int i = 0; i < 3; ++i) {
    Recorder owner;
    EXPECT_NE(owner.handle(), 0u);
    for (std::uintptr_t earlier : seen) {
      EXPECT_NE(owner.handle(), earlier);
    }
    seen.push_back(owner.handle());
  }
}

TEST_F(HeadlessToolkit, ReleaseRequestRunsOnlyWhenTheQueueIsPumped) {
  Recorder owner;
  owner.window->PostReleaseRequest();
  EXPECT_TRUE(owner.log.empty());
  EXPECT_EQ(orva_pending_messages(), 1u);
  platform::ProcessMessages();
  EXPECT_EQ(owner.log, std::vector<std::string>{"release (hidden)"});
  EXPECT_EQ(orva_pending_messages(), 0u);
}

TEST_F(HeadlessToolkit, ReleaseHandlerMayDestroyTheWindowAndLaterRequestsAreDropped) {
  Recorder owner;
  const std::uintptr_t handle = owner.handle();
  owner.react = [&](const std::string&) { owner.window.reset(); };
  owner.window->PostReleaseRequest();
  owner.window->PostReleaseRequest();
  EXPECT_EQ(orva_pump(), 2u);
  EXPECT_EQ(owner.log.size(), 1u);
  EXPECT_FALSE(orva_window_exists(handle));
}

TEST_F(HeadlessToolkit, MessagesForADestroyedWindowAreDropped) {
  Recorder owner;
  owner.window->Show();
  owner.window->PostReleaseRequest();
  ASSERT_EQ(orva_post_sys_command(owner.handle(), ORVA_SC_MINIMIZE), 1);
  owner.window.reset();
  orva_pump();
  EXPECT_EQ(owner.log, std::vector<std::string>{"showing (hidden)"});
}

TEST_F(HeadlessToolkit, ThreadSysCommandIsDiscardedAndWindowSysCommandIsDispatched) {
  Recorder owner;
  owner.window->Show();
  platform::PostThreadSysCommand(kScMinimize);
  ASSERT_EQ(orva_post_sys_command(0, ORVA_SC_MINIMIZE), 1);
  orva_pump();
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_NORMAL);
  EXPECT_EQ(owner.log.size(), 1u);

  ASSERT_EQ(orva_post_sys_command(owner.handle(), ORVA_SC_MINIMIZE), 1);
  orva_pump();
  EXPECT_EQ(owner.log.back(), "sys 61472 (visible)");
  EXPECT_EQ(orva_window_state(owner.handle()), ORVA_STATE_MINIMIZED);
}

struct Trace {
  std::vector<std::string> entries;
};

void SecondCallback(void* context) {
  static_cast<Trace*>(context)->entries.push_back("second");
}

void FirstCallback(void* context) {
  static_cast<Trace*>(context)->entries.push_back("first");
  orva_post_callback(SecondCallback, context);
}

TEST_F(HeadlessToolkit, CallbackPostedDuringThePumpRunsInTheSamePump) {
  Trace trace;
  ASSERT_EQ(orva_post_callback(FirstCallback, &trace), 1);
  ASSERT_EQ(orva_post_callback(nullptr, &trace), 0);
  EXPECT_TRUE(trace.entries.empty());
  EXPECT_EQ(orva_pump(), 2u);
  EXPECT_EQ(trace.entries, (std::vector<std::string>{"first", "second"}));
}

TEST_F(HeadlessToolkit, EveryHostCallAnswersNoneForZeroAndStaleHandles) {
  std::uintptr_t stale = 0;
  {
    Recorder owner;
    stale = owner.handle();
  }
  for (std::uintptr_t handle : {std::uintptr_t{0}, stale}) {
    char buffer[8] = "garbage";
    orva_rect bounds{1, 2, 3, 4};
    EXPECT_EQ(orva_window_exists(handle), 0);
    EXPECT_EQ(orva_window_state(handle), ORVA_STATE_NONE);
    EXPECT_EQ(orva_window_caption(handle, buffer, sizeof buffer), -1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(orva_window_memo_text(handle, nullptr, 0), -1);
    EXPECT_EQ(orva_window_button_enabled(handle), ORVA_NO_WINDOW);
    EXPECT_EQ(orva_window_bounds(handle, &bounds), ORVA_NO_WINDOW);
    EXPECT_EQ(bounds.left, 1);
    EXPECT_EQ(orva_window_close(handle), ORVA_NO_WINDOW);
    EXPECT_EQ(orva_window_sys_command(handle, ORVA_SC_MINIMIZE), ORVA_NO_WINDOW);
    EXPECT_EQ(orva_window_query_end_session(handle), ORVA_NO_WINDOW);
    EXPECT_EQ(orva_window_press_button(handle), ORVA_NO_WINDOW);
  }
  EXPECT_EQ(orva_post_sys_command(stale, ORVA_SC_MINIMIZE), ORVA_NO_WINDOW);
  EXPECT_EQ(orva_pending_messages(), 0u);
}

TEST_F(HeadlessToolkit, HostReadsTextsInFullLengthAndListsLiveWindows) {
  Recorder first, second;
  first.window->SetCaption("N0CALL in ORVA SWL DX Contest");
  first.window->SetMemoText("line 1\r\nline 2");
  char small[7];
  EXPECT_EQ(orva_window_caption(first.handle(), small, sizeof small), 29);
  EXPECT_STREQ(small, "N0CALL");
  char memo[64];
  EXPECT_EQ(orva_window_memo_text(first.handle(), memo, sizeof memo), 14);
  EXPECT_STREQ(memo, "line 1\r\nline 2");

  std::uintptr_t handles[1] = {};
  EXPECT_EQ(orva_windows(handles, 1), 2u);
  EXPECT_EQ(handles[0], first.handle());
  EXPECT_EQ(orva_windows(nullptr, 0), 2u);
}

TEST_F(HeadlessToolkit, CloseAndEndSessionQueriesRunTheirHandlersBeforeReturning) {
  Recorder owner;
  owner.window->Show();
  EXPECT_EQ(orva_window_query_end_session(owner.handle()), ORVA_DELIVERED);
  EXPECT_EQ(orva_window_close(owner.handle()), ORVA_DELIVERED);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"showing (hidden)", "query-end-session (visible)",
                                                 "close (visible)"}));
}

TEST_F(HeadlessToolkit, OnlyAnEnabledButtonOnAShownWindowTakesClicks) {
  Recorder owner;
  EXPECT_EQ(orva_window_press_button(owner.handle()), ORVA_IGNORED);
  owner.window->Show();
  owner.window->SetButtonEnabled(false);
  EXPECT_EQ(orva_window_button_enabled(owner.handle()), 0);
  EXPECT_EQ(orva_window_press_button(owner.handle()), ORVA_IGNORED);
  owner.window->SetButtonEnabled(true);
  EXPECT_EQ(orva_window_press_button(owner.handle()), ORVA_DELIVERED);
  owner.window->SetState(WindowState::kMinimized);
  EXPECT_EQ(orva_window_press_button(owner.handle()), ORVA_IGNORED);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"showing (hidden)", "click (visible)"}));
}

struct SysCommandCase {
  std::uint32_t command;
  bool handled;
  WindowState from;
  int hostState;
  bool closeRequested;
};

class SysCommand : public HeadlessToolkit, public testing::WithParamInterface<SysCommandCase> {};

TEST_P(SysCommand, DefaultHandlingRunsOnlyWhenTheWindowLeavesTheCommand) {
  const auto& [command, handled, from, hostState, closeRequested] = GetParam();
  Recorder owner;
  owner.handlesSysCommands = handled;
  owner.window->SetState(from);
  owner.window->Show();
  EXPECT_EQ(orva_window_sys_command(owner.handle(), command), ORVA_DELIVERED);
  EXPECT_EQ(orva_window_state(owner.handle()), hostState);
  EXPECT_EQ(owner.log.at(1), "sys " + std::to_string(command) + " (visible)");
  EXPECT_EQ(owner.log.size() == 3 && owner.log[2] == "close (visible)", closeRequested);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SysCommand,
    testing::Values(
        SysCommandCase{ORVA_SC_MINIMIZE, false, WindowState::kNormal, ORVA_STATE_MINIMIZED, false},
        SysCommandCase{ORVA_SC_MINIMIZE, true, WindowState::kNormal, ORVA_STATE_NORMAL, false},
        SysCommandCase{ORVA_SC_MAXIMIZE, false, WindowState::kNormal, ORVA_STATE_MAXIMIZED, false},
        SysCommandCase{ORVA_SC_RESTORE, false, WindowState::kMinimized, ORVA_STATE_NORMAL, false},
        SysCommandCase{ORVA_SC_RESTORE, false, WindowState::kMaximized, ORVA_STATE_NORMAL, false},
        SysCommandCase{ORVA_SC_CLOSE, true, WindowState::kNormal, ORVA_STATE_NORMAL, false},
        SysCommandCase{ORVA_SC_CLOSE | 3, false, WindowState::kNormal, ORVA_STATE_NORMAL, true},
        SysCommandCase{ORVA_SC_MINIMIZE | 2, false, WindowState::kNormal, ORVA_STATE_MINIMIZED,
                       false},
        SysCommandCase{0xF010, false, WindowState::kMaximized, ORVA_STATE_MAXIMIZED, false}));

struct BoxListener {
  Recorder* owner = nullptr;
  std::vector<std::string> heard;
  int pressWhileOpen = 0;
};

void HearBox(void* context, const char* caption, const char* text) {
  auto* listener = static_cast<BoxListener*>(context);
  listener->heard.push_back(std::string(caption) + "|" + text);
  listener->pressWhileOpen = orva_window_press_button(listener->owner->handle());
}

// Printing a box is the host's choice of stream; a line from the toolkit as
// well would show every box twice.
TEST_F(HeadlessToolkit, ErrorBoxesAreRecordedAndHeardInOrderButNotPrinted) {
  Recorder owner;
  owner.window->Show();
  BoxListener listener;
  listener.owner = &owner;
  orva_set_error_box_listener(HearBox, &listener);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  platform::ShowErrorBox("Host", "Missing column ITUZone.");
  platform::ShowErrorBox("Host", "Second failure.");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  EXPECT_EQ(listener.heard,
            (std::vector<std::string>{"Host|Missing column ITUZone.", "Host|Second failure."}));
  EXPECT_EQ(listener.pressWhileOpen, ORVA_IGNORED);
  EXPECT_EQ(orva_window_press_button(owner.handle()), ORVA_DELIVERED);
  ASSERT_EQ(orva_error_box_count(), 2u);
  char text[64];
  EXPECT_EQ(orva_error_box_text(1, text, sizeof text), 15);
  EXPECT_STREQ(text, "Second failure.");
  EXPECT_EQ(orva_error_box_caption(0, text, sizeof text), 4);
  EXPECT_STREQ(text, "Host");
  EXPECT_EQ(orva_error_box_text(2, text, sizeof text), -1);
  orva_clear_error_boxes();
  EXPECT_EQ(orva_error_box_count(), 0u);
}

using HeadlessToolkitDeathTest = HeadlessToolkit;

TEST_F(HeadlessToolkitDeathTest, UseFromASecondThreadAborts) {
  EXPECT_DEATH(
      {
        platform::ProcessMessages();
        std::thread([] { orva_pump(); }).join();
      },
      "orva_pump called from a second thread");
}

TEST_F(HeadlessToolkitDeathTest, DestroyingTheWindowInsideAnotherHandlerAborts) {
  EXPECT_DEATH(
      {
        Recorder owner;
        owner.react = [&](const std::string&) { owner.window.reset(); };
        orva_window_close(owner.handle());
      },
      "destroyed while OnCloseRequest runs on it");
}

TEST_F(HeadlessToolkitDeathTest, ReleaseThatDestroysTheWindowUnderItsOwnClickAborts) {
  EXPECT_DEATH(
      {
        Recorder owner;
        owner.window->Show();
        owner.react = [&](const std::string& event) {
          if (event == "click") {
            owner.window->PostReleaseRequest();
            platform::ProcessMessages();
          } else if (event == "release") {
            owner.window.reset();
          }
        };
        orva_window_press_button(owner.handle());
      },
      "destroyed while OnButtonClick > OnReleaseRequest runs on it");
}

TEST_F(HeadlessToolkitDeathTest, AFailureEscapingAHandlerAborts) {
  EXPECT_DEATH(
      {
        Recorder owner;
        owner.react = [](const std::string&) { throw std::runtime_error("no connection"); };
        owner.window->Show();
      },
      "a failure escaped OnShowing of window 0x[0-9a-f]+: no connection");
}

TEST_F(HeadlessToolkitDeathTest, AnUnknownShowCommandAborts) {
  EXPECT_DEATH(
      {
        Recorder owner;
        platform::WindowPlacement placement = owner.window->Placement();
        placement.showCmd = 12;
        owner.window->SetPlacement(placement);
      },
      "SetPlacement with show command 12");
}

}  // namespace
}  // namespace orva
