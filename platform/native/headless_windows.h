// The headless windows and what they share: the window class, the table of
// live windows, the UI thread's message queue and the recorded error boxes.
// Two parts of the native library work on them: the toolkit seam the
// plug-in's window code calls (toolkit_headless.cpp) and the C interface
// through which a host plays user and system (orva_window.cpp); this header
// is theirs alone, no host or plug-in sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/native/orva_window.h"
#include "platform/toolkit.h"

// Hidden, so that the library exports only the toolkit seam and the C
// interface, not the machinery behind them.
#pragma GCC visibility push(hidden)
namespace orva::platform::headless {

// Reports misuse of the toolkit and aborts at once.
[[noreturn]] void Misuse(const std::string& what);

// The toolkit belongs to the one UI thread, the first that uses it.
void CheckUiThread(const char* call);

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

Toolkit& TheToolkit();

// Null when the handle names no live window.
HeadlessWindow* FindWindow(std::uintptr_t handle);

void Post(std::function<void()> message);

// Dispatches until the queue is empty; returns how many messages it took.
std::size_t DispatchAll();

// Queues a system command for a window; handle 0 makes it a thread message.
void PostSysCommand(std::uintptr_t handle, std::uint32_t command);

enum class Event {
  kShowing,
  kSysCommand,
  kCloseRequest,
  kQueryEndSession,
  kButtonClick,
  kReleaseRequest
};

class HeadlessWindow final : public FormWindow {
 public:
  HeadlessWindow(const FormDesign& design, int pixelsPerInch, WindowEvents& events);
  ~HeadlessWindow() override;

  std::uintptr_t NativeHandle() const override { return handle_; }

  void SetCaption(std::string_view caption) override;
  std::string Caption() const override;

  void Show() override;
  void Hide() override;
  bool IsVisible() const override;
  void SetState(WindowState state) override;
  WindowState State() const override;
  void Repaint() override;

  void SetMemoText(std::string_view text) override;
  std::string MemoText() const override;
  void SetButtonEnabled(bool enabled) override;
  bool IsButtonEnabled() const override;

  void PostReleaseRequest() override;

  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  Rect Bounds() const override;

  // What the host's C calls send; each call is on the UI thread.

  void SendCloseRequest();
  void SendSysCommand(std::uint32_t command);
  void SendQueryEndSession();
  // False when the window has no frame to drag.
  bool MoveTo(const Rect& bounds);
  // False when the click cannot reach the button.
  bool PressButton();

 private:
  template <class Call>
  std::invoke_result_t<Call, WindowEvents&> Deliver(Event event, Call call);
  bool IsRunning(Event event) const;
  std::string ActiveEventsText() const;
  void Present(WindowState state);
  void DefaultSysCommand(std::uint32_t command);
  static Rect MaximizedBounds();

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

}  // namespace orva::platform::headless
#pragma GCC visibility pop
