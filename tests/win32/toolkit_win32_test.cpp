// The Win32 window toolkit against real windows: what the form window looks
// like when created, which events reach its owner and when, and the error box
// as a user meets it. Run under Wine with a virtual X display.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/failure.h"
#include "platform/screen.h"
#include "platform/toolkit.h"
#include "tests/offscreen_placement.h"
#include "window/main_form.h"

namespace orva {
namespace {

using platform::FormWindow;
using platform::WindowState;

class RecordingEvents : public platform::WindowEvents {
 public:
  void OnShowing() override {
    log.push_back("showing");
    visibleWhileShowing = IsWindowVisible(window);
    if (onShowing) {
      onShowing();
    }
  }
  bool OnSysCommand(std::uint32_t command) override {
    log.push_back("syscommand " + std::to_string(command));
    return handleSysCommands;
  }
  void OnCloseRequest() override { log.push_back("close"); }
  void OnQueryEndSession() override { log.push_back("queryendsession"); }
  void OnButtonClick() override {
    log.push_back("click");
    if (onButtonClick) {
      onButtonClick();
    }
  }
  void OnReleaseRequest() override {
    log.push_back("release");
    if (onReleaseRequest) {
      onReleaseRequest();
    }
  }

  HWND window = nullptr;
  std::vector<std::string> log;
  bool visibleWhileShowing = true;
  bool handleSysCommands = true;
  std::function<void()> onShowing, onButtonClick, onReleaseRequest;
};

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

LOGFONTA FontOf(HWND window) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

// A child's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom) {
  EXPECT_EQ(rect.left, left);
  EXPECT_EQ(rect.top, top);
  EXPECT_EQ(rect.right, right);
  EXPECT_EQ(rect.bottom, bottom);
}

// Empties the queue without dispatching, so that no test sees the leftovers
// of another.
void DiscardMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

class Win32Toolkit : public testing::Test {
 protected:
  void SetUp() override {
    DiscardMessages();
    form = platform::CreateFormWindow(MainFormDesign(), platform::kDesignPixelsPerInch, events);
    events.window = Handle();
  }
  void TearDown() override {
    form.reset();
    DiscardMessages();
  }

  HWND Handle() const { return reinterpret_cast<HWND>(form->NativeHandle()); }
  HWND Memo() const { return FindWindowExA(Handle(), nullptr, "Edit", nullptr); }
  HWND Button() const { return FindWindowExA(Panel(), nullptr, "Button", nullptr); }
  HWND Panel() const {
    HWND child = nullptr;
    while ((child = FindWindowExA(Handle(), child, nullptr, nullptr)) != nullptr) {
      if (child != Memo()) {
        return child;
      }
    }
    return nullptr;
  }

  RecordingEvents events;
  std::unique_ptr<FormWindow> form;
};

TEST_F(Win32Toolkit, IsCreatedHiddenOnTopWithoutOwnerAtTheDesignedRectangle) {
  const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  const LONG frame = WS_POPUP | WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                     WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
  EXPECT_EQ(style & frame, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(Handle(), GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(Handle()), nullptr);
  EXPECT_FALSE(form->IsVisible());
  EXPECT_EQ(form->Caption(), "ORVA SWL DX Contest");
  EXPECT_TRUE(events.log.empty());
  ASSERT_EQ(platform::ScreenPixelsPerInch(), 96) << "the virtual screen is expected at 96 ppi";
  EXPECT_EQ(form->Bounds(), (Rect{950, 138, 1324, 334}));
}

TEST_F(Win32Toolkit, LaysTheDesignOutAtTheDensityItIsGivenNotTheScreens) {
  ASSERT_EQ(platform::ScreenPixelsPerInch(), 96) << "the virtual screen is expected at 96 ppi";
  form = platform::CreateFormWindow(MainFormDesign(), 120, events);
  EXPECT_EQ(form->Bounds(), (Rect{1188, 173, 1656, 418}));
  EXPECT_EQ(FontOf(Memo()).lfHeight, -14);
  EXPECT_EQ(FontOf(Button()).lfHeight, -14);
  const RECT button = PlaceOf(Button());
  EXPECT_EQ(button.right - button.left, 164);
  EXPECT_EQ(button.bottom - button.top, 28);
}

TEST_F(Win32Toolkit, HasAPlainEditableMemoAndACaptionedButtonOnABottomPanel) {
  ASSERT_NE(Memo(), nullptr);
  ASSERT_NE(Panel(), nullptr);
  ASSERT_NE(Button(), nullptr);
  const LONG memoStyle = GetWindowLongA(Memo(), GWL_STYLE);
  EXPECT_TRUE(memoStyle & ES_MULTILINE);
  EXPECT_TRUE(memoStyle & ES_AUTOHSCROLL) << "no word wrap";
  EXPECT_FALSE(memoStyle & (ES_READONLY | WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(TextOf(Button()), "Recalc Statistic");
  EXPECT_TRUE(form->IsButtonEnabled());
  EXPECT_EQ(form->MemoText(), "");

  const LOGFONTA memoFont = FontOf(Memo());
  EXPECT_STREQ(memoFont.lfFaceName, "Courier New");
  EXPECT_EQ(memoFont.lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(memoFont.lfHeight, -11);
  EXPECT_EQ(memoFont.lfPitchAndFamily & 3, FIXED_PITCH)
      << "a missing face falls back to fixed pitch";
  const LOGFONTA buttonFont = FontOf(Button());
  EXPECT_STREQ(buttonFont.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(buttonFont.lfHeight, -11);
}

TEST_F(Win32Toolkit, LaysOutMemoPanelAndRightAnchoredButtonOnEveryResize) {
  RECT client;
  GetClientRect(Handle(), &client);
  ExpectRect(PlaceOf(Memo()), 0, 0, client.right, client.bottom - 23);
  ExpectRect(PlaceOf(Panel()), 0, client.bottom - 23, client.right, client.bottom);
  ExpectRect(PlaceOf(Button()), 232, 1, 363, 23);

  SetWindowPos(Handle(), nullptr, 0, 0, 474, 296, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(Handle(), &client);
  ExpectRect(PlaceOf(Memo()), 0, 0, client.right, client.bottom - 23);
  ExpectRect(PlaceOf(Panel()), 0, client.bottom - 23, client.right, client.bottom);
  ExpectRect(PlaceOf(Button()), 332, 1, 463, 23);
}

TEST_F(Win32Toolkit, ShowingFromHiddenTellsTheOwnerBeforeTheWindowIsVisible) {
  form->Show();
  EXPECT_EQ(events.log, std::vector<std::string>{"showing"});
  EXPECT_FALSE(events.visibleWhileShowing);
  EXPECT_TRUE(form->IsVisible());
  EXPECT_TRUE(GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(form->Bounds(), (Rect{950, 138, 1324, 334})) << "neither moved nor resized";

  form->Show();
  EXPECT_EQ(events.log, std::vector<std::string>{"showing"}) << "already visible";
  form->Hide();
  EXPECT_FALSE(form->IsVisible());
  form->Show();
  EXPECT_EQ(events.log, (std::vector<std::string>{"showing", "showing"}));
}

TEST_F(Win32Toolkit, ShowingAMinimizedWindowRaisesItButLeavesItMinimized) {
  form->Show();
  form->SetState(WindowState::kMinimized);
  ASSERT_TRUE(IsIconic(Handle()));
  form->Show();
  EXPECT_TRUE(IsIconic(Handle()));
  EXPECT_EQ(form->State(), WindowState::kMinimized);
  EXPECT_EQ(events.log.size(), 1u);
}

TEST_F(Win32Toolkit, ShowRaisesTheWindowBackAboveOtherWindows) {
  form->Show();
  // Sending it to the bottom also takes it out of the topmost band.
  SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_FALSE(GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  form->Show();
  EXPECT_TRUE(GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), Handle());
}

TEST_F(Win32Toolkit, AStateSetWhileHiddenIsTakenWhenTheWindowIsShown) {
  events.onShowing = [this] {
    form->SetState(WindowState::kMaximized);
    events.visibleWhileShowing = IsWindowVisible(Handle());
    form->Repaint();
  };
  form->Show();
  EXPECT_FALSE(events.visibleWhileShowing);
  EXPECT_TRUE(IsZoomed(Handle()));
  EXPECT_EQ(form->State(), WindowState::kMaximized);
  form->SetState(WindowState::kNormal);
  EXPECT_FALSE(IsZoomed(Handle()));
  EXPECT_EQ(form->State(), WindowState::kNormal);
}

TEST_F(Win32Toolkit, PlacementRoundTripsThroughTheSystem) {
  platform::WindowPlacement placement = form->Placement();
  EXPECT_EQ(placement.normalPosition, (Rect{950, 138, 1324, 334}));
  placement.showCmd = platform::kSwHide;
  placement.normalPosition = {100, 120, 500, 420};
  form->SetPlacement(placement);
  EXPECT_FALSE(form->IsVisible()) << "a hidden show command moves without showing";
  EXPECT_EQ(form->Bounds(), (Rect{100, 120, 500, 420}));
  EXPECT_EQ(form->Placement().normalPosition, (Rect{100, 120, 500, 420}));
}

class Win32OffscreenPlacement : public Win32Toolkit,
                                public testing::WithParamInterface<test::OffscreenParam> {};

TEST_P(Win32OffscreenPlacement, PutsTheRestoredWindowOnTheScreen) {
  ASSERT_EQ(platform::PrimaryScreenSize().width, test::kOffscreenWidth);
  ASSERT_EQ(platform::PrimaryScreenSize().height, test::kOffscreenHeight);
  RECT workArea{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  ASSERT_EQ(Rect(workArea.left, workArea.top, workArea.right, workArea.bottom),
            (Rect{0, 0, test::kOffscreenWidth, test::kOffscreenHeight}))
      << "the cases take the work area to be the whole screen";
  test::ExpectPlacedAsTheSystemPlacesIt(*form, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32OffscreenPlacement,
                         testing::Combine(testing::ValuesIn(test::kOffscreenCases),
                                          testing::ValuesIn(test::kOffscreenShowCommands)),
                         test::OffscreenParamName);

TEST_F(Win32Toolkit, MemoAndCaptionTextsRoundTripWithTheirLineBreaks) {
  const std::string report = "Band  QSO\r\n 20M    1\r\n\r\nClaimed score: 15\r\n";
  form->SetMemoText(report);
  EXPECT_EQ(form->MemoText(), report);
  const std::string large(100000, 'x');
  form->SetMemoText(large);
  EXPECT_EQ(form->MemoText(), large);
  form->SetCaption(" in ORVA SWL DX Contest");
  EXPECT_EQ(TextOf(Handle()), " in ORVA SWL DX Contest");
}

struct SysCommandCase {
  WPARAM command;
  bool handled;
  std::vector<std::string> log;
  bool minimizedAfterwards;
};

class Win32ToolkitSysCommand : public Win32Toolkit,
                               public testing::WithParamInterface<SysCommandCase> {};

TEST_P(Win32ToolkitSysCommand, ReachesTheOwnerUnmaskedAndFallsBackToTheDefault) {
  const SysCommandCase& test = GetParam();
  form->Show();
  events.log.clear();
  events.handleSysCommands = test.handled;
  SendMessageA(Handle(), WM_SYSCOMMAND, test.command, 0);
  EXPECT_EQ(events.log, test.log);
  EXPECT_EQ(IsIconic(Handle()) != FALSE, test.minimizedAfterwards);
  EXPECT_TRUE(IsWindow(Handle()));
}

INSTANTIATE_TEST_SUITE_P(Table, Win32ToolkitSysCommand,
                         testing::Values(
                             // Handled: nothing else happens.
                             SysCommandCase{SC_CLOSE, true, {"syscommand 61536"}, false},
                             SysCommandCase{SC_CLOSE + 2, true, {"syscommand 61538"}, false},
                             SysCommandCase{SC_MINIMIZE, true, {"syscommand 61472"}, false},
                             // Unhandled: the default close asks the window to close, which the
                             // owner hears about while the window lives on.
                             SysCommandCase{SC_CLOSE, false, {"syscommand 61536", "close"}, false},
                             SysCommandCase{SC_MINIMIZE, false, {"syscommand 61472"}, true}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(Win32Toolkit, CloseAndEndSessionQueriesReachTheOwnerAndTheWindowStays) {
  form->Show();
  events.log.clear();
  SendMessageA(Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(SendMessageA(Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(events.log, (std::vector<std::string>{"close", "queryendsession"}));
  EXPECT_TRUE(IsWindow(Handle()));
  EXPECT_TRUE(form->IsVisible());
}

TEST_F(Win32Toolkit, TheButtonClicksOnlyWhileEnabled) {
  form->Show();
  events.log.clear();
  SendMessageA(Button(), BM_CLICK, 0, 0);
  EXPECT_EQ(events.log, std::vector<std::string>{"click"});

  form->SetButtonEnabled(false);
  EXPECT_FALSE(form->IsButtonEnabled());
  EXPECT_FALSE(IsWindowEnabled(Button()));
  SendMessageA(Button(), BM_CLICK, 0, 0);
  SendMessageA(Panel(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(Button()));
  EXPECT_EQ(events.log, std::vector<std::string>{"click"});

  form->SetButtonEnabled(true);
  SendMessageA(Button(), BM_CLICK, 0, 0);
  EXPECT_EQ(events.log, (std::vector<std::string>{"click", "click"}));
}

TEST_F(Win32Toolkit, FocusGivenToTheWindowGoesToTheMemo) {
  form->Show();
  SetFocus(Handle());
  EXPECT_EQ(GetFocus(), Memo());
}

TEST_F(Win32Toolkit, AReleaseRequestWaitsForTheMessagePump) {
  form->PostReleaseRequest();
  EXPECT_TRUE(events.log.empty());
  platform::ProcessMessages();
  EXPECT_EQ(events.log, std::vector<std::string>{"release"});
  platform::ProcessMessages();
  EXPECT_EQ(events.log.size(), 1u) << "delivered once";
}

TEST_F(Win32Toolkit, TheOwnerMayDestroyTheWindowWhileItsReleaseRequestIsHandled) {
  const HWND handle = Handle();
  form->Show();
  events.onReleaseRequest = [this] { form.reset(); };
  form->PostReleaseRequest();
  form->PostReleaseRequest();
  platform::ProcessMessages();
  EXPECT_EQ(form, nullptr);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(events.log, (std::vector<std::string>{"showing", "release"}))
      << "a request for a destroyed window goes nowhere";
}

TEST_F(Win32Toolkit, AThreadSysCommandIsDiscardedByThePump) {
  form->Show();
  events.log.clear();
  platform::PostThreadSysCommand(kScMinimize);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_EQ(message.wParam, kScMinimize);
  platform::ProcessMessages();
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_TRUE(events.log.empty());
  EXPECT_FALSE(IsIconic(Handle()));
}

TEST_F(Win32Toolkit, ThePumpLeavesAQuitToTheHostsLoop) {
  PostQuitMessage(7);
  platform::ProcessMessages();
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

// Plays the user in front of a modal error box of this process: waits for it
// on a thread of its own, reads it and presses OK.
class ErrorBoxReader {
 public:
  explicit ErrorBoxReader(HWND host) : host_(host), thread_([this] { Run(); }) {}
  ~ErrorBoxReader() { Join(); }
  void Join() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }

  std::atomic<bool> found = false;
  std::string caption, text;
  bool hostDisabled = false;

 private:
  static BOOL CALLBACK Match(HWND window, LPARAM box) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        ClassOf(window) == "#32770") {
      *reinterpret_cast<HWND*>(box) = window;
      return FALSE;
    }
    return TRUE;
  }

  void Run() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND box = nullptr;
    while (!box && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      EnumWindows(Match, reinterpret_cast<LPARAM>(&box));
    }
    if (!box) {
      return;
    }
    found = true;
    caption = TextOf(box);
    char message[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, message, sizeof message);
    text = message;
    hostDisabled = host_ && !IsWindowEnabled(host_);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }

  HWND host_;
  std::thread thread_;
};

TEST_F(Win32Toolkit, TheErrorBoxIsTaskModalAndShowsCaptionAndText) {
  form->Show();
  ErrorBoxReader reader(Handle());
  platform::ShowErrorBox("Logger", "Field not found: 'Band'.");
  reader.Join();
  ASSERT_TRUE(reader.found);
  EXPECT_EQ(reader.caption, "Logger");
  EXPECT_EQ(reader.text, "Field not found: 'Band'.");
  EXPECT_TRUE(reader.hostDisabled) << "the thread's windows are disabled while the box is open";
  EXPECT_TRUE(IsWindowEnabled(Handle())) << "and enabled again once it closes";
}

TEST_F(Win32Toolkit, AFailureEscapingAHandlerIsShownInsteadOfUnwindingThroughTheSystem) {
  form->Show();
  events.onButtonClick = [] { throw Failure("Handler failed"); };
  ErrorBoxReader reader(Handle());
  SendMessageA(Button(), BM_CLICK, 0, 0);
  reader.Join();
  ASSERT_TRUE(reader.found);
  EXPECT_EQ(reader.text, "Handler failed");
  EXPECT_TRUE(IsWindow(Handle()));
}

// Makes the creation of the first window of one class fail, as the system
// does when it runs out of resources.
class CreationBlocker {
 public:
  explicit CreationBlocker(std::string className) {
    blockedClass_ = std::move(className);
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~CreationBlocker() { UnhookWindowsHookEx(hook_); }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(wParam)) == blockedClass_) {
      return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::string blockedClass_;
  HHOOK hook_;
};

bool IsClassRegistered(const std::string& name) {
  WNDCLASSEXA found{};
  found.cbSize = sizeof found;
  return GetClassInfoExA(GetModuleHandleA(nullptr), name.c_str(), &found);
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int WindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(Win32Toolkit, AFailedCreationRaisesAFailureAndLeavesNoWindowBehind) {
  const std::vector<std::string> classes = {ClassOf(Handle()), ClassOf(Panel()), "Button", "Edit"};
  form.reset();
  const int windowsBefore = WindowsOfThisThread();
  for (const std::string& blocked : classes) {
    SCOPED_TRACE(blocked);
    RecordingEvents otherEvents;
    {
      CreationBlocker blocker(blocked);
      EXPECT_THROW(
          {
            try {
              platform::CreateFormWindow(MainFormDesign(), platform::kDesignPixelsPerInch,
                                         otherEvents);
            } catch (const Failure& failure) {
              EXPECT_EQ(std::string(failure.what()).rfind("Cannot create the ", 0), 0u);
              EXPECT_NE(std::string(failure.what()).find("ORVA SWL DX Contest"), std::string::npos);
              throw;
            }
          },
          Failure);
    }
    EXPECT_EQ(WindowsOfThisThread(), windowsBefore);
    EXPECT_FALSE(IsClassRegistered(classes[0]) || IsClassRegistered(classes[1]))
        << "no window class is left registered";
    EXPECT_TRUE(otherEvents.log.empty());
  }
  form = platform::CreateFormWindow(MainFormDesign(), platform::kDesignPixelsPerInch, events);
  EXPECT_TRUE(IsWindow(Handle())) << "the classes register again";
}

TEST_F(Win32Toolkit, TwoWindowsShareTheClassesUntilTheLastIsGone) {
  RecordingEvents otherEvents;
  auto other =
      platform::CreateFormWindow(MainFormDesign(), platform::kDesignPixelsPerInch, otherEvents);
  const std::string formClass = ClassOf(Handle());
  form.reset();
  EXPECT_TRUE(IsClassRegistered(formClass));
  other->Show();
  EXPECT_TRUE(other->IsVisible());
  other.reset();
  EXPECT_FALSE(IsClassRegistered(formClass));
}

}  // namespace
}  // namespace orva
