// The window toolkit on the native build: windows held in memory, one message
// queue for the UI thread, and error boxes that are recorded instead of drawn.
// A host or a test drives the statistics window through orva_window.h the way
// a user and the system would, and reads back what it shows; the window's
// owner gets the events a Win32 window would deliver, in the same order.
//
// The real platform punishes some misuse late and obscurely (a window freed
// under its own running handler, an exception unwinding through the window
// procedure, a window touched from a second thread). Here each one aborts at
// once with a message naming it, so a test catches it where it happens.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "platform/native/orva_window.h"
#include "platform/screen.h"
#include "platform/toolkit.h"

namespace orva::platform {
namespace {

constexpr int kDesignPixelsPerInch = 96;
constexpr std::uint32_t kScMaximize = 0xF030;
constexpr std::uint32_t kScRestore = 0xF120;
// The platform keeps the low four bits of a system command for itself and
// ignores them in its default handling.
constexpr std::uint32_t kScCommandMask = 0xFFF0;
// Where the platform parks a minimized top-level window, and its size there.
constexpr Rect kMinimizedBounds = {-32000, -32000, -32000 + 160, -32000 + 28};
// The platform's "no position chosen yet" for the minimized and maximized
// positions of a new window.
constexpr Point kUnsetPosition = {-1, -1};

[[noreturn]] void Misuse(const std::string& what) {
  std::fprintf(stderr, "orva toolkit misuse: %s\n", what.c_str());
  std::abort();
}

// The toolkit belongs to the one UI thread, the first that uses it.
void CheckUiThread(const char* call) {
  static std::atomic<std::thread::id> uiThread;
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id owner;
  if (!uiThread.compare_exchange_strong(owner, self) && owner != self) {
    Misuse(std::string(call) + " called from a second thread; only the UI thread may use windows");
  }
}

// Runs code the toolkit calls out to. A failure must not unwind through it,
// as it could not unwind through the platform's window procedure.
template <class Call>
auto CallOut(const std::string& who, Call call) {
  try {
    return call();
  } catch (const std::exception& failure) {
    Misuse("a failure escaped " + who + ": " + failure.what());
  } catch (...) {
    Misuse("an exception escaped " + who);
  }
}

enum class Event {
  kShowing,
  kSysCommand,
  kCloseRequest,
  kQueryEndSession,
  kButtonClick,
  kReleaseRequest
};

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

class HeadlessWindow;

struct ErrorBox {
  std::string caption, text;
};

struct Toolkit {
  std::map<std::uintptr_t, HeadlessWindow*> windows;
  std::uintptr_t lastHandle = 0x10000;
  std::deque<std::function<void()>> queue;
  std::vector<ErrorBox> errorBoxes;
  int openErrorBoxes = 0;
  orva_error_box_listener listener = nullptr;
  void* listenerContext = nullptr;
};

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

// Pixels of the form description, at 96 pixels per inch, on this screen;
// rounded half away from zero as the platform's MulDiv does.
int ScaleFromDesign(int pixels, int pixelsPerInch) {
  const long long product = static_cast<long long>(pixels) * pixelsPerInch;
  const long long half = kDesignPixelsPerInch / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / kDesignPixelsPerInch);
}

Rect DesignedRect(const FormDesign& design) {
  const int ppi = ScreenPixelsPerInch();
  const int left = ScaleFromDesign(design.left, ppi);
  const int top = ScaleFromDesign(design.top, ppi);
  return {left, top, left + ScaleFromDesign(design.width, ppi),
          top + ScaleFromDesign(design.height, ppi)};
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

class HeadlessWindow final : public FormWindow {
 public:
  HeadlessWindow(const FormDesign& design, WindowEvents& events)
      : handle_(TheToolkit().lastHandle += 4), events_(events), caption_(design.caption) {
    placement_.minPosition = kUnsetPosition;
    placement_.maxPosition = kUnsetPosition;
    placement_.normalPosition = DesignedRect(design);
    TheToolkit().windows.emplace(handle_, this);
  }

  ~HeadlessWindow() override {
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

  std::uintptr_t NativeHandle() const override { return handle_; }

  void SetCaption(std::string_view caption) override {
    CheckUiThread("FormWindow::SetCaption");
    caption_ = caption;
  }
  std::string Caption() const override {
    CheckUiThread("FormWindow::Caption");
    return caption_;
  }

  void Show() override {
    CheckUiThread("FormWindow::Show");
    // Shown already, or on its way (Show again from inside OnShowing): the
    // platform would only raise it, and nothing here models the z-order.
    if (visible_ || IsRunning(Event::kShowing)) {
      return;
    }
    Deliver(Event::kShowing, [](WindowEvents& events) { events.OnShowing(); });
    visible_ = true;
  }
  void Hide() override {
    CheckUiThread("FormWindow::Hide");
    visible_ = false;
  }
  bool IsVisible() const override {
    CheckUiThread("FormWindow::IsVisible");
    return visible_;
  }
  // A hidden window keeps the state and shows in it later.
  void SetState(WindowState state) override {
    CheckUiThread("FormWindow::SetState");
    state_ = state;
  }
  WindowState State() const override {
    CheckUiThread("FormWindow::State");
    return state_;
  }
  // Nothing is drawn headless: the state is what a host reads.
  void Repaint() override { CheckUiThread("FormWindow::Repaint"); }

  void SetMemoText(std::string_view text) override {
    CheckUiThread("FormWindow::SetMemoText");
    memoText_ = text;
  }
  std::string MemoText() const override {
    CheckUiThread("FormWindow::MemoText");
    return memoText_;
  }
  void SetButtonEnabled(bool enabled) override {
    CheckUiThread("FormWindow::SetButtonEnabled");
    buttonEnabled_ = enabled;
  }
  bool IsButtonEnabled() const override {
    CheckUiThread("FormWindow::IsButtonEnabled");
    return buttonEnabled_;
  }

  void PostReleaseRequest() override {
    CheckUiThread("FormWindow::PostReleaseRequest");
    Post([handle = handle_] {
      if (HeadlessWindow* window = FindWindow(handle)) {
        window->Deliver(Event::kReleaseRequest,
                        [](WindowEvents& events) { events.OnReleaseRequest(); });
      }
    });
  }

  WindowPlacement Placement() const override {
    CheckUiThread("FormWindow::Placement");
    WindowPlacement placement = placement_;
    placement.showCmd = ShowCommandFor(state_);
    return placement;
  }
  // Moves the window and applies the show command as the platform does: no
  // OnShowing, which belongs to Show alone.
  void SetPlacement(const WindowPlacement& placement) override {
    CheckUiThread("FormWindow::SetPlacement");
    if (placement.showCmd > kSwShowMaximized) {
      Misuse("SetPlacement with show command " + std::to_string(placement.showCmd) +
             ", which the headless window does not know");
    }
    placement_ = placement;
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
  Rect Bounds() const override {
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

  // What the host's C calls send and read; each call is on the UI thread.

  void SendCloseRequest() {
    Deliver(Event::kCloseRequest, [](WindowEvents& events) { events.OnCloseRequest(); });
  }
  void SendSysCommand(std::uint32_t command) {
    const bool handled = Deliver(Event::kSysCommand, [command](WindowEvents& events) {
      return events.OnSysCommand(command);
    });
    if (!handled) {
      DefaultSysCommand(command);
    }
  }
  void SendQueryEndSession() {
    Deliver(Event::kQueryEndSession, [](WindowEvents& events) { events.OnQueryEndSession(); });
  }
  // Only a window on screen in its normal state has a frame to drag.
  bool MoveTo(const Rect& bounds) {
    if (!visible_ || state_ != WindowState::kNormal) {
      return false;
    }
    placement_.normalPosition = bounds;
    return true;
  }
  // A click reaches only a button that is on screen and enabled, and no
  // window takes input while an error box is open.
  bool PressButton() {
    const bool reachable = visible_ && state_ != WindowState::kMinimized;
    if (!buttonEnabled_ || !reachable || TheToolkit().openErrorBoxes > 0) {
      return false;
    }
    Deliver(Event::kButtonClick, [](WindowEvents& events) { events.OnButtonClick(); });
    return true;
  }
  int HostState() const {
    if (!visible_) {
      return ORVA_STATE_HIDDEN;
    }
    switch (state_) {
      case WindowState::kMinimized:
        return ORVA_STATE_MINIMIZED;
      case WindowState::kMaximized:
        return ORVA_STATE_MAXIMIZED;
      case WindowState::kNormal:
        break;
    }
    return ORVA_STATE_NORMAL;
  }

 private:
  // Runs one handler of the window's owner, noting it as running on the
  // window so that destroying the window under it is caught. A release
  // request's handler may destroy the window: nothing of it is touched after.
  template <class Call>
  std::invoke_result_t<Call, WindowEvents&> Deliver(Event event, Call call) {
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

  bool IsRunning(Event event) const {
    return std::find(activeEvents_.begin(), activeEvents_.end(), event) != activeEvents_.end();
  }

  std::string ActiveEventsText() const {
    std::string text;
    for (Event event : activeEvents_) {
      text += (text.empty() ? "" : " > ") + EventName(event);
    }
    return text;
  }

  void Present(WindowState state) {
    state_ = state;
    visible_ = true;
  }

  void DefaultSysCommand(std::uint32_t command) {
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
  static Rect MaximizedBounds() {
    const ScreenSize screen = PrimaryScreenSize();
    const Point frame = ResizableFrameSize();
    return {-frame.x, -frame.y, screen.width + frame.x, screen.height + frame.y};
  }

  const std::uintptr_t handle_;
  WindowEvents& events_;
  std::string caption_;
  std::string memoText_;
  bool visible_ = false;
  bool buttonEnabled_ = true;
  WindowState state_ = WindowState::kNormal;
  // Flags, minimized and maximized positions and the normal rectangle; the
  // show command follows the state.
  WindowPlacement placement_;
  std::vector<Event> activeEvents_;
};

void PostSysCommand(std::uintptr_t handle, std::uint32_t command) {
  Post([handle, command] {
    if (HeadlessWindow* window = FindWindow(handle)) {
      window->SendSysCommand(command);
    }
  });
}

ptrdiff_t CopyText(std::string_view text, char* buffer, std::size_t size) {
  if (buffer && size > 0) {
    const std::size_t copied = std::min(text.size(), size - 1);
    std::copy_n(text.begin(), copied, buffer);
    buffer[copied] = '\0';
  }
  return static_cast<ptrdiff_t>(text.size());
}

ptrdiff_t NoText(char* buffer, std::size_t size) {
  CopyText({}, buffer, size);
  return -1;
}

// Runs a host call on one window, or answers `none` when the handle names
// no live window.
template <class Result, class Call>
Result OnWindow(const char* call, std::uintptr_t handle, Result none, Call onWindow) {
  CheckUiThread(call);
  HeadlessWindow* window = FindWindow(handle);
  return window ? onWindow(*window) : none;
}

ptrdiff_t WindowText(const char* call, std::uintptr_t handle,
                     std::string (HeadlessWindow::*text)() const, char* buffer, std::size_t size) {
  CheckUiThread(call);
  const HeadlessWindow* window = FindWindow(handle);
  return window ? CopyText((window->*text)(), buffer, size) : NoText(buffer, size);
}

template <class Call>
int Send(const char* call, std::uintptr_t handle, Call send) {
  return OnWindow(call, handle, ORVA_NO_WINDOW, [&](HeadlessWindow& window) {
    send(window);
    return ORVA_DELIVERED;
  });
}

// Posting allocates; the host gets 0 instead of an exception.
template <class Call>
int PostFromHost(const char* call, Call post) {
  try {
    post();
    return 1;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", call, failure.what());
    return 0;
  }
}

ptrdiff_t ErrorBoxText(const char* call, std::size_t index, std::string ErrorBox::*field,
                       char* buffer, std::size_t size) {
  CheckUiThread(call);
  const auto& boxes = TheToolkit().errorBoxes;
  return index < boxes.size() ? CopyText(boxes[index].*field, buffer, size) : NoText(buffer, size);
}

}  // namespace

std::unique_ptr<FormWindow> CreateFormWindow(const FormDesign& design, WindowEvents& events) {
  CheckUiThread("CreateFormWindow");
  return std::make_unique<HeadlessWindow>(design, events);
}

void ProcessMessages() {
  CheckUiThread("ProcessMessages");
  DispatchAll();
}

void PostThreadSysCommand(std::uint32_t command) {
  CheckUiThread("PostThreadSysCommand");
  PostSysCommand(0, command);
}

// The box is closed (OK) at once; it counts as open, disabling input to the
// windows, only while the host's listener runs. Nothing is printed here: the
// host alone knows which of its streams a box belongs on.
void ShowErrorBox(std::string_view caption, std::string_view text) {
  CheckUiThread("ShowErrorBox");
  Toolkit& toolkit = TheToolkit();
  ErrorBox box{std::string(caption), std::string(text)};
  toolkit.errorBoxes.push_back(box);
  if (toolkit.listener) {
    ++toolkit.openErrorBoxes;
    CallOut("the error-box listener", [&] {
      toolkit.listener(toolkit.listenerContext, box.caption.c_str(), box.text.c_str());
    });
    --toolkit.openErrorBoxes;
  }
}

}  // namespace orva::platform

using orva::platform::HeadlessWindow;
using orva::platform::TheToolkit;

extern "C" {

size_t orva_pump(void) {
  orva::platform::CheckUiThread("orva_pump");
  return orva::platform::DispatchAll();
}

size_t orva_pending_messages(void) {
  orva::platform::CheckUiThread("orva_pending_messages");
  return TheToolkit().queue.size();
}

int orva_post_callback(void (*callback)(void*), void* context) {
  orva::platform::CheckUiThread("orva_post_callback");
  if (!callback) {
    return 0;
  }
  return orva::platform::PostFromHost("orva_post_callback", [&] {
    orva::platform::Post([callback, context] {
      orva::platform::CallOut("a host callback", [&] { callback(context); });
    });
  });
}

int orva_post_sys_command(uintptr_t window, uint32_t command) {
  orva::platform::CheckUiThread("orva_post_sys_command");
  if (window != 0 && !orva::platform::FindWindow(window)) {
    return ORVA_NO_WINDOW;
  }
  return orva::platform::PostFromHost("orva_post_sys_command",
                                      [&] { orva::platform::PostSysCommand(window, command); });
}

size_t orva_windows(uintptr_t* handles, size_t capacity) {
  orva::platform::CheckUiThread("orva_windows");
  const auto& windows = TheToolkit().windows;
  size_t written = 0;
  for (auto it = windows.begin(); handles && it != windows.end() && written < capacity; ++it) {
    handles[written++] = it->first;
  }
  return windows.size();
}

int orva_window_exists(uintptr_t window) {
  return orva::platform::OnWindow("orva_window_exists", window, 0,
                                  [](HeadlessWindow&) { return 1; });
}

int orva_window_state(uintptr_t window) {
  return orva::platform::OnWindow("orva_window_state", window, ORVA_STATE_NONE,
                                  [](HeadlessWindow& found) { return found.HostState(); });
}

ptrdiff_t orva_window_caption(uintptr_t window, char* buffer, size_t size) {
  return orva::platform::WindowText("orva_window_caption", window, &HeadlessWindow::Caption, buffer,
                                    size);
}

ptrdiff_t orva_window_memo_text(uintptr_t window, char* buffer, size_t size) {
  return orva::platform::WindowText("orva_window_memo_text", window, &HeadlessWindow::MemoText,
                                    buffer, size);
}

int orva_window_button_enabled(uintptr_t window) {
  return orva::platform::OnWindow(
      "orva_window_button_enabled", window, ORVA_NO_WINDOW,
      [](HeadlessWindow& found) { return found.IsButtonEnabled() ? 1 : 0; });
}

int orva_window_bounds(uintptr_t window, orva_rect* bounds) {
  return orva::platform::OnWindow("orva_window_bounds", window, ORVA_NO_WINDOW,
                                  [&](HeadlessWindow& found) {
                                    const orva::platform::Rect rect = found.Bounds();
                                    if (bounds) {
                                      *bounds = {rect.left, rect.top, rect.right, rect.bottom};
                                    }
                                    return 1;
                                  });
}

int orva_window_close(uintptr_t window) {
  return orva::platform::Send("orva_window_close", window,
                              [](HeadlessWindow& found) { found.SendCloseRequest(); });
}

int orva_window_sys_command(uintptr_t window, uint32_t command) {
  return orva::platform::Send("orva_window_sys_command", window,
                              [command](HeadlessWindow& found) { found.SendSysCommand(command); });
}

int orva_window_query_end_session(uintptr_t window) {
  return orva::platform::Send("orva_window_query_end_session", window,
                              [](HeadlessWindow& found) { found.SendQueryEndSession(); });
}

int orva_window_move(uintptr_t window, const orva_rect* bounds) {
  return orva::platform::OnWindow("orva_window_move", window, ORVA_NO_WINDOW,
                                  [bounds](HeadlessWindow& found) {
                                    if (!bounds) {
                                      return ORVA_IGNORED;
                                    }
                                    const orva::platform::Rect rect = {
                                        bounds->left, bounds->top, bounds->right, bounds->bottom};
                                    return found.MoveTo(rect) ? ORVA_DELIVERED : ORVA_IGNORED;
                                  });
}

int orva_window_press_button(uintptr_t window) {
  return orva::platform::OnWindow(
      "orva_window_press_button", window, ORVA_NO_WINDOW,
      [](HeadlessWindow& found) { return found.PressButton() ? ORVA_DELIVERED : ORVA_IGNORED; });
}

void orva_set_error_box_listener(orva_error_box_listener listener, void* context) {
  orva::platform::CheckUiThread("orva_set_error_box_listener");
  TheToolkit().listener = listener;
  TheToolkit().listenerContext = listener ? context : nullptr;
}

size_t orva_error_box_count(void) {
  orva::platform::CheckUiThread("orva_error_box_count");
  return TheToolkit().errorBoxes.size();
}

ptrdiff_t orva_error_box_caption(size_t index, char* buffer, size_t size) {
  return orva::platform::ErrorBoxText("orva_error_box_caption", index,
                                      &orva::platform::ErrorBox::caption, buffer, size);
}

ptrdiff_t orva_error_box_text(size_t index, char* buffer, size_t size) {
  return orva::platform::ErrorBoxText("orva_error_box_text", index, &orva::platform::ErrorBox::text,
                                      buffer, size);
}

void orva_clear_error_boxes(void) {
  orva::platform::CheckUiThread("orva_clear_error_boxes");
  TheToolkit().errorBoxes.clear();
}

}  // extern "C"
