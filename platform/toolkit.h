// The window toolkit seam: the statistics window, the error box and the
// message pump the contest logic needs, without a platform header in sight.
//
// One implementation drives real Win32 windows; the native one keeps the same
// windows in memory (state, texts, a message queue and the error boxes) so
// that a host and the tests can drive and inspect them. Both deliver the same
// events in the same order to the window's owner.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/geometry.h"

namespace orva::platform {

// The screen density the form description's sizes are given at.
inline constexpr int kDesignPixelsPerInch = 96;

// Pixels of the form description at another density, rounded half away from
// zero as the platform's own scaling (MulDiv) rounds.
inline int ScaledFromDesign(int pixels, int pixelsPerInch) {
  const long long product = static_cast<long long>(pixels) * pixelsPerInch;
  const long long half = kDesignPixelsPerInch / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / kDesignPixelsPerInch);
}

// What the plug-in's form description says about its window; sizes are in
// pixels at kDesignPixelsPerInch and are scaled by the toolkit.
struct FormDesign {
  std::string caption;
  int left = 0, top = 0, width = 0, height = 0;
  int panelHeight = 0;
  int buttonLeft = 0, buttonTop = 0, buttonWidth = 0, buttonHeight = 0;
  std::string buttonCaption;
  std::string formFontName;
  int formFontHeight = 0;
  std::string memoFontName;
  int memoFontHeight = 0;
  int memoCharset = 0;
};

// Show commands as the platform numbers them. A placement record holds the
// first four; a stored one may hold any, as other programs wrote it.
enum ShowCommand : std::uint32_t {
  kSwHide = 0,
  kSwShowNormal = 1,
  kSwShowMinimized = 2,
  kSwShowMaximized = 3,
  kSwMinimize = 6,
  kSwShowMinNoActive = 7,
};

// The platform's window placement record.
struct WindowPlacement {
  std::uint32_t flags = 0;
  std::uint32_t showCmd = kSwShowNormal;
  Point minPosition;
  Point maxPosition;
  Rect normalPosition;
  bool operator==(const WindowPlacement&) const = default;
};

enum class WindowState { kNormal, kMinimized, kMaximized };

// Events a window delivers to its owner. A handler may destroy the window
// (OnReleaseRequest does); the toolkit touches nothing of it afterwards.
class WindowEvents {
 public:
  // The window goes from hidden to shown; it is not visible yet.
  virtual void OnShowing() = 0;
  // A system command; true when handled, so the default handling is skipped.
  virtual bool OnSysCommand(std::uint32_t command) = 0;
  // Someone asked the window to close (WM_CLOSE).
  virtual void OnCloseRequest() = 0;
  // The system asks whether the session may end (WM_QUERYENDSESSION).
  virtual void OnQueryEndSession() = 0;
  virtual void OnButtonClick() = 0;
  // A release request posted by PostReleaseRequest was dispatched.
  virtual void OnReleaseRequest() = 0;

 protected:
  ~WindowEvents() = default;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;

  // The handle the host gets back from _Run: the same for the window's life.
  virtual std::uintptr_t NativeHandle() const = 0;

  virtual void SetCaption(std::string_view caption) = 0;
  virtual std::string Caption() const = 0;

  // Makes the window visible and raises it, without moving, resizing or
  // restoring it. Coming from hidden, OnShowing runs first.
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
  // Sets the state of a shown window; minimizing goes through the platform.
  virtual void SetState(WindowState state) = 0;
  virtual WindowState State() const = 0;
  // Paints the window at once.
  virtual void Repaint() = 0;

  virtual void SetMemoText(std::string_view text) = 0;
  virtual std::string MemoText() const = 0;
  virtual void SetButtonEnabled(bool enabled) = 0;
  virtual bool IsButtonEnabled() const = 0;

  // Queues a release request for this window; OnReleaseRequest runs when a
  // message loop dispatches it.
  virtual void PostReleaseRequest() = 0;

  virtual WindowPlacement Placement() const = 0;
  virtual void SetPlacement(const WindowPlacement& placement) = 0;
  // The window's current outer rectangle.
  virtual Rect Bounds() const = 0;
};

// Creates the window hidden, with no owner and on top of other windows, its
// design laid out at `pixelsPerInch`. Raises a failure when the platform
// cannot create it.
std::unique_ptr<FormWindow> CreateFormWindow(const FormDesign& design, int pixelsPerInch,
                                             WindowEvents& events);

// Dispatches every message waiting for the calling thread, then returns.
void ProcessMessages();

// Posts a system command to the calling thread's queue with no target window.
void PostThreadSysCommand(std::uint32_t command);

// Shows a modal error box with an OK button and the stop icon, owned by no
// window; the thread's other windows are disabled while it is open.
void ShowErrorBox(std::string_view caption, std::string_view text);

}  // namespace orva::platform
