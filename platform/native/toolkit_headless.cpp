// The window toolkit on the native build: windows held in memory, one message
// queue for the UI thread, and error boxes that are recorded instead of drawn.
// This file implements the toolkit seam the plug-in's window code calls; a
// host or a test drives the same windows through orva_window.h (implemented
// in orva_window.cpp) the way a user and the system would, and reads back
// what they show. The window's owner gets the events a Win32 window would
// deliver, in the same order.
//
// The real platform punishes some misuse late and obscurely (a window freed
// under its own running handler, an exception unwinding through the window
// procedure, a window touched from a second thread). Here each one aborts at
// once with a message naming it, so a test catches it where it happens.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <thread>

#include "platform/native/headless_windows.h"
#include "platform/screen.h"
#include "platform/toolkit.h"

namespace orva::platform {
namespace headless {
namespace {

// Where the platform parks a minimized top-level window, and its size there.
constexpr Rect kMinimizedBounds = {-32000, -32000, -32000 + 160, -32000 + 28};
// The platform's "no position chosen yet" for the minimized and maximized
// positions of a new window.
constexpr Point kUnsetPosition = {-1, -1};

std::string EventName(Event event) {
  switch (event) {
    case Event::kShowing:
      return "OnShowing";
    case Event::kSysCommand:
      return "OnSysCommand";
    case Event::kCloseRequest:
      return "OnCloseRequest";
    case Event::kQueryEndSession:
      return "OnQueryEndSession";
    case Event::kButtonClick:
      return "OnButtonClick";
    case Event::kReleaseRequest:
      return "OnReleaseRequest";
  }
  return "an unknown handler";
}

std::string HandleText(std::uintptr_t handle) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(handle));
  return text;
}

Rect DesignedRect(const FormDesign& design, int pixelsPerInch) {
  const int left = ScaledFromDesign(design.left, pixelsPerInch);
  const int top = ScaledFromDesign(design.top, pixelsPerInch);
  return {left, top, left + ScaledFromDesign(design.width, pixelsPerInch),
          top + ScaledFromDesign(design.height, pixelsPerInch)};
}

// A stored placement may hold any 32-bit numbers: a move worked out in a
// wider type is kept within them.
int Saturated(long long value) {
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// Moves the span from `low` to `high` along one axis, keeping its length,
// when it lies wholly before 0 or wholly at or past `extent`: its far end
// then comes to lie on the edge it was beyond.
void OntoSpan(int& low, int& high, int extent) {
  long long shift = 0;
  if (high <= 0) {
    shift = -static_cast<long long>(low);
  } else if (low >= extent) {
    shift = static_cast<long long>(extent) - high;
  }
  low = Saturated(low + shift);
  high = Saturated(high + shift);
}

// What the platform does with the normal rectangle of a placement it applies,
// whatever the show command, as measured on its virtual screen: each axis on
// its own, a rectangle wholly beyond an edge of the work area (touching the
// edge counts as beyond) is moved, keeping its size, until it lies against
// that edge on the inside; one that still overlaps the work area by a pixel
// stays, however much of it is off. So a restored window can always be seen
// and dragged. The work area is the whole screen, as on a desktop without a
// taskbar. The platform also keeps every window within a least and a largest
// size, however it is sized; the headless window takes any size.
Rect OnTheWorkArea(Rect rect) {
  const ScreenSize workArea = PrimaryScreenSize();
  OntoSpan(rect.left, rect.right, workArea.width);
  OntoSpan(rect.top, rect.bottom, workArea.height);
  return rect;
}

std::uint32_t ShowCommandFor(WindowState state) {
  switch (state) {
    case WindowState::kMinimized:
      return kSwShowMinimized;
    case WindowState::kMaximized:
      return kSwShowMaximized;
    case WindowState::kNormal:
      break;
  }
  return kSwShowNormal;
}

}  // namespace

void Misuse(const std::string& what) {
  std::fprintf(stderr, "orva toolkit misuse: %s\n", what.c_str());
  std::abort();
}

void CheckUiThread(const char* call) {
  static std::atomic<std::thread::id> uiThread;
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id owner;
  if (!uiThread.compare_exchange_strong(owner, self) && owner != self) {
    Misuse(std::string(call) + " called from a second thread; only the UI thread may use windows");
  }
}

Toolkit& TheToolkit() {
  // Never destroyed: a plug-in unloaded at exit destroys its window after
  // this library's statics would already be gone.
  static Toolkit* const toolkit = new Toolkit;
  return *toolkit;
}

HeadlessWindow* FindWindow(std::uintptr_t handle) {
  const auto& windows = TheToolkit().windows;
  const auto found = windows.find(handle);
  return found == windows.end() ? nullptr : found->second;
}

void Post(std::function<void()> message) {
  TheToolkit().queue.push_back(std::move(message));
}

std::size_t DispatchAll() {
  auto& queue = TheToolkit().queue;
  std::size_t taken = 0;
  while (!queue.empty()) {
    const std::function<void()> message = std::move(queue.front());
    queue.pop_front();
    ++taken;
    message();
  }
  return taken;
}

void PostSysCommand(std::uintptr_t handle, std::uint32_t command) {
  Post([handle, command] {
    if (HeadlessWindow* window = FindWindow(handle)) {
      window->SendSysCommand(command);
    }
  });
}

HeadlessWindow::HeadlessWindow(const FormDesign& design, int pixelsPerInch, WindowEvents& events)
    : handle_(TheToolkit().lastHandle += 4), events_(events), caption_(design.caption) {
  placement_.minPosition = kUnsetPosition;
  placement_.maxPosition = kUnsetPosition;
  placement_.normalPosition = DesignedRect(design, pixelsPerInch);
  TheToolkit().windows.emplace(handle_, this);
}

HeadlessWindow::~HeadlessWindow() {
  CheckUiThread("FormWindow destructor");
  const bool insideOnlyItsReleaseRequest =
      activeEvents_.size() == 1 && activeEvents_.front() == Event::kReleaseRequest;
  if (!activeEvents_.empty() && !insideOnlyItsReleaseRequest) {
    Misuse("window " + HandleText(handle_) + " destroyed while " + ActiveEventsText() +
           " runs on it; only OnReleaseRequest, outside every other handler of the window,"
           " may destroy it");
  }
  TheToolkit().windows.erase(handle_);
}

// Runs one handler of the window's owner, noting it as running on the
// window so that destroying the window under it is caught. A release
// request's handler may destroy the window: nothing of it is touched after.
template <class Call>
std::invoke_result_t<Call, WindowEvents&> HeadlessWindow::Deliver(Event event, Call call) {
  struct Running {
    std::uintptr_t handle;
    ~Running() {
      if (HeadlessWindow* window = FindWindow(handle)) {
        window->activeEvents_.pop_back();
      }
    }
  };
  activeEvents_.push_back(event);
  const Running running{handle_};
  return CallOut(EventName(event) + " of window " + HandleText(handle_),
                 [&] { return call(events_); });
}

void HeadlessWindow::SetCaption(std::string_view caption) {
  CheckUiThread("FormWindow::SetCaption");
  caption_ = caption;
}

std::string HeadlessWindow::Caption() const {
  CheckUiThread("FormWindow::Caption");
  return caption_;
}

void HeadlessWindow::Show() {
  CheckUiThread("FormWindow::Show");
  // Shown already, or on its way (Show again from inside OnShowing): the
  // platform would only raise it, and nothing here models the z-order.
  if (visible_ || IsRunning(Event::kShowing)) {
    return;
  }
  Deliver(Event::kShowing, [](WindowEvents& events) { events.OnShowing(); });
  visible_ = true;
}

void HeadlessWindow::Hide() {
  CheckUiThread("FormWindow::Hide");
  visible_ = false;
}

bool HeadlessWindow::IsVisible() const {
  CheckUiThread("FormWindow::IsVisible");
  return visible_;
}

// A hidden window keeps the state and shows in it later.
void HeadlessWindow::SetState(WindowState state) {
  CheckUiThread("FormWindow::SetState");
  state_ = state;
}

WindowState HeadlessWindow::State() const {
  CheckUiThread("FormWindow::State");
  return state_;
}

// Nothing is drawn headless: the state is what a host reads.
void HeadlessWindow::Repaint() {
  CheckUiThread("FormWindow::Repaint");
}

void HeadlessWindow::SetMemoText(std::string_view text) {
  CheckUiThread("FormWindow::SetMemoText");
  memoText_ = text;
}

std::string HeadlessWindow::MemoText() const {
  CheckUiThread("FormWindow::MemoText");
  return memoText_;
}

void HeadlessWindow::SetButtonEnabled(bool enabled) {
  CheckUiThread("FormWindow::SetButtonEnabled");
  buttonEnabled_ = enabled;
}

bool HeadlessWindow::IsButtonEnabled() const {
  CheckUiThread("FormWindow::IsButtonEnabled");
  return buttonEnabled_;
}

void HeadlessWindow::PostReleaseRequest() {
  CheckUiThread("FormWindow::PostReleaseRequest");
  Post([handle = handle_] {
    if (HeadlessWindow* window = FindWindow(handle)) {
      window->Deliver(Event::kReleaseRequest,
                      [](WindowEvents& events) { events.OnReleaseRequest(); });
    }
  });
}

WindowPlacement HeadlessWindow::Placement() const {
  CheckUiThread("FormWindow::Placement");
  WindowPlacement placement = placement_;
  placement.showCmd = ShowCommandFor(state_);
  return placement;
}

// Moves the window, onto the screen if it would lie off it, and applies the
// show command as the platform does: no OnShowing, which belongs to Show
// alone.
void HeadlessWindow::SetPlacement(const WindowPlacement& placement) {
  CheckUiThread("FormWindow::SetPlacement");
  if (placement.showCmd > kSwShowMaximized) {
    Misuse("SetPlacement with show command " + std::to_string(placement.showCmd) +
           ", which the headless window does not know");
  }
  placement_ = placement;
  placement_.normalPosition = OnTheWorkArea(placement.normalPosition);
  switch (placement.showCmd) {
    case kSwHide:
      visible_ = false;
      return;
    case kSwShowMinimized:
      return Present(WindowState::kMinimized);
    case kSwShowMaximized:
      return Present(WindowState::kMaximized);
  }
  Present(WindowState::kNormal);
}

Rect HeadlessWindow::Bounds() const {
  CheckUiThread("FormWindow::Bounds");
  switch (state_) {
    case WindowState::kMinimized:
      return kMinimizedBounds;
    case WindowState::kMaximized:
      return MaximizedBounds();
    case WindowState::kNormal:
      break;
  }
  return placement_.normalPosition;
}

void HeadlessWindow::SendCloseRequest() {
  Deliver(Event::kCloseRequest, [](WindowEvents& events) { events.OnCloseRequest(); });
}

void HeadlessWindow::SendSysCommand(std::uint32_t command) {
  const bool handled = Deliver(
      Event::kSysCommand, [command](WindowEvents& events) { return events.OnSysCommand(command); });
  if (!handled) {
    DefaultSysCommand(command);
  }
}

void HeadlessWindow::SendQueryEndSession() {
  Deliver(Event::kQueryEndSession, [](WindowEvents& events) { events.OnQueryEndSession(); });
}

// Only a window on screen in its normal state has a frame to drag.
bool HeadlessWindow::MoveTo(const Rect& bounds) {
  if (!visible_ || state_ != WindowState::kNormal) {
    return false;
  }
  placement_.normalPosition = bounds;
  return true;
}

// A click reaches only a button that is on screen and enabled, and no
// window takes input while an error box is open.
bool HeadlessWindow::PressButton() {
  const bool reachable = visible_ && state_ != WindowState::kMinimized;
  if (!buttonEnabled_ || !reachable || TheToolkit().openErrorBoxes > 0) {
    return false;
  }
  Deliver(Event::kButtonClick, [](WindowEvents& events) { events.OnButtonClick(); });
  return true;
}

bool HeadlessWindow::IsRunning(Event event) const {
  return std::find(activeEvents_.begin(), activeEvents_.end(), event) != activeEvents_.end();
}

std::string HeadlessWindow::ActiveEventsText() const {
  std::string text;
  for (Event event : activeEvents_) {
    text += (text.empty() ? "" : " > ") + EventName(event);
  }
  return text;
}

void HeadlessWindow::Present(WindowState state) {
  state_ = state;
  visible_ = true;
}

void HeadlessWindow::DefaultSysCommand(std::uint32_t command) {
  switch (command & kScCommandMask) {
    case kScMinimize:
      return Present(WindowState::kMinimized);
    case kScMaximize:
      return Present(WindowState::kMaximized);
    case kScRestore:
      return Present(WindowState::kNormal);
    case kScClose:
      return SendCloseRequest();
  }
}

// Maximized over the whole screen with the frame pushed past its edges.
Rect HeadlessWindow::MaximizedBounds() {
  const ScreenSize screen = PrimaryScreenSize();
  const Point frame = ResizableFrameSize();
  return {-frame.x, -frame.y, screen.width + frame.x, screen.height + frame.y};
}

}  // namespace headless

std::unique_ptr<FormWindow> CreateFormWindow(const FormDesign& design, int pixelsPerInch,
                                             WindowEvents& events) {
  headless::CheckUiThread("CreateFormWindow");
  return std::make_unique<headless::HeadlessWindow>(design, pixelsPerInch, events);
}

void ProcessMessages() {
  headless::CheckUiThread("ProcessMessages");
  headless::DispatchAll();
}

void PostThreadSysCommand(std::uint32_t command) {
  headless::CheckUiThread("PostThreadSysCommand");
  headless::PostSysCommand(0, command);
}

// The box is closed (OK) at once; it counts as open, disabling input to the
// windows, only while the host's listener runs. Nothing is printed here: the
// host alone knows which of its streams a box belongs on.
void ShowErrorBox(std::string_view caption, std::string_view text) {
  headless::CheckUiThread("ShowErrorBox");
  headless::Toolkit& toolkit = headless::TheToolkit();
  headless::ErrorBox box{std::string(caption), std::string(text)};
  toolkit.errorBoxes.push_back(box);
  if (toolkit.listener) {
    ++toolkit.openErrorBoxes;
    headless::CallOut("the error-box listener", [&] {
      toolkit.listener(toolkit.listenerContext, box.caption.c_str(), box.text.c_str());
    });
    --toolkit.openErrorBoxes;
  }
}

}  // namespace orva::platform
