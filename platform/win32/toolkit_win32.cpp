// The window toolkit on Windows, in plain Win32: the form window with its
// bottom panel, push button and memo, the error box and the message pump.
//
// The toolkit delivers events as the system gives them and decides nothing
// about them: what a close request or a system command means is the form's
// business. It only guarantees what the system cannot: no event reaches a
// half-built or dying window object, a handler may destroy the window it is
// called for, and no C++ exception unwinds through the system's frames.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "base/failure.h"
#include "platform/toolkit.h"

namespace orva::platform {

namespace {

constexpr char kFormClass[] = "OrvaFormWindow";
constexpr char kPanelClass[] = "OrvaFormPanel";
constexpr UINT kReleaseRequest = WM_APP + 1;
constexpr int kButtonId = 1;
constexpr int kMemoId = 2;
constexpr int kGlyphSize = 16;
constexpr int kGlyphSpacing = 4;
constexpr UINT kErrorBoxStyle = MB_OK | MB_ICONERROR | MB_TASKMODAL;

constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr DWORD kMemoStyle =
    WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_LEFT;

struct GdiObjectDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Clears the window's object pointer first, so that the messages sent while
// the window goes down reach no event handler.
struct WindowDeleter {
  void operator()(HWND window) const {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
};
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

// The module that holds this code: the plug-in DLL in the product, so that its
// window classes never meet the host's.
HINSTANCE ThisModule() {
  static const char anchor = 0;
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      &anchor, &module);
  return module;
}

std::string SystemErrorText(DWORD code) {
  if (code == ERROR_SUCCESS) {
    return "the system gave no reason";
  }
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  std::string text(buffer ? buffer : "", length);
  LocalFree(buffer);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : text;
}

Failure CreationFailure(const std::string& part, const std::string& caption) {
  const DWORD code = GetLastError();
  return Failure("Cannot create the " + part + " of window \"" + caption +
                 "\": " + SystemErrorText(code));
}

// The last line of defence: the form reports its own failures, so anything
// that still escapes a handler is shown here instead of unwinding through the
// system's frames, which would end the host.
void ShowStrayFailure(const char* message) {
  MessageBoxA(nullptr, message, nullptr, kErrorBoxStyle);
}

template <typename Call>
void Guarded(Call call) noexcept {
  try {
    call();
  } catch (const std::exception& failure) {
    ShowStrayFailure(failure.what());
  } catch (...) {
    ShowStrayFailure("Unexpected failure");
  }
}

FontHandle CreateDesignFont(const std::string& name, int height, BYTE charset,
                            BYTE pitchAndFamily) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = charset;
  font.lfPitchAndFamily = pitchAndFamily;
  lstrcpynA(font.lfFaceName, name.c_str(), LF_FACESIZE);
  return FontHandle(CreateFontIndirectA(&font));
}

// The button's glyph: a small bar chart, drawn here so that the plug-in needs
// no resource file. The mask is white where the glyph is transparent.
IconHandle DrawGlyph() {
  struct Bar {
    RECT rect;
    COLORREF colour;
  };
  const Bar bars[] = {{{1, 8, 5, 15}, RGB(0, 128, 0)},
                      {{6, 4, 10, 15}, RGB(0, 64, 192)},
                      {{11, 1, 15, 15}, RGB(192, 0, 0)}};
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colours = CreateCompatibleBitmap(screen, kGlyphSize, kGlyphSize);
  HBITMAP mask = CreateBitmap(kGlyphSize, kGlyphSize, 1, 1, nullptr);
  const RECT whole = {0, 0, kGlyphSize, kGlyphSize};
  HGDIOBJ original = SelectObject(dc, mask);
  FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const Bar& bar : bars) {
    FillRect(dc, &bar.rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  SelectObject(dc, colours);
  FillRect(dc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  for (const Bar& bar : bars) {
    RECT inner = bar.rect;
    InflateRect(&inner, -1, -1);
    SetDCBrushColor(dc, bar.colour);
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  SelectObject(dc, original);
  ICONINFO info = {TRUE, 0, 0, mask, colours};
  IconHandle icon(CreateIconIndirect(&info));
  DeleteObject(mask);
  DeleteObject(colours);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return icon;
}

// Paints the push button like a bitmap button: glyph left of the caption, the
// pair centred, both greyed while the button is disabled.
void DrawButton(const DRAWITEMSTRUCT& item, HICON glyph) {
  RECT rect = item.rcItem;
  const bool pushed = item.itemState & ODS_SELECTED;
  const UINT state = (item.itemState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL;
  DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  char caption[256];
  const int length = GetWindowTextA(item.hwndItem, caption, sizeof caption);
  HGDIOBJ originalFont = SelectObject(
      item.hDC, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  RECT text = {0, 0, 0, 0};
  DrawTextA(item.hDC, caption, length, &text, DT_CALCRECT | DT_SINGLELINE);

  const int offset = pushed ? 1 : 0;
  const int contentWidth = kGlyphSize + kGlyphSpacing + text.right;
  const int x = rect.left + (rect.right - rect.left - contentWidth) / 2 + offset;
  const int height = rect.bottom - rect.top;
  DrawStateA(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph), 0, x,
             rect.top + (height - kGlyphSize) / 2 + offset, kGlyphSize, kGlyphSize,
             DST_ICON | state);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  DrawStateA(item.hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(caption), length,
             x + kGlyphSize + kGlyphSpacing, rect.top + (height - text.bottom) / 2 + offset,
             text.right, text.bottom, DST_PREFIXTEXT | state);
  SelectObject(item.hDC, originalFont);

  if (item.itemState & ODS_FOCUS) {
    InflateRect(&rect, -3, -3);
    DrawFocusRect(item.hDC, &rect);
  }
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The panel only groups the button; its notifications belong to the form.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND || message == WM_DRAWITEM) {
    return SendMessageA(GetParent(panel), message, wParam, lParam);
  }
  return DefWindowProcA(panel, message, wParam, lParam);
}

void RegisterWindowClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  if (!RegisterClassExA(&windowClass)) {
    throw Failure(std::string("Cannot register the window class ") + name + ": " +
                  SystemErrorText(GetLastError()));
  }
}

// Keeps the toolkit's window classes registered while any form window exists.
// A DLL's classes outlive its unloading, and a class left behind would point a
// reloaded plug-in's windows at the old, unmapped window procedure. All form
// windows live on the host's user-interface thread, so a plain count will do.
class ClassLease {
 public:
  ClassLease() {
    if (leases_ == 0) {
      RegisterWindowClass(kFormClass, FormProc);
      try {
        RegisterWindowClass(kPanelClass, PanelProc);
      } catch (...) {
        UnregisterClassA(kFormClass, ThisModule());
        throw;
      }
    }
    ++leases_;
  }
  ~ClassLease() {
    if (--leases_ == 0) {
      UnregisterClassA(kPanelClass, ThisModule());
      UnregisterClassA(kFormClass, ThisModule());
    }
  }
  ClassLease(const ClassLease&) = delete;
  ClassLease& operator=(const ClassLease&) = delete;

 private:
  static inline int leases_ = 0;
};

UINT ShowCommandFor(WindowState state) {
  switch (state) {
    case WindowState::kMinimized:
      return SW_MINIMIZE;
    case WindowState::kMaximized:
      return SW_SHOWMAXIMIZED;
    case WindowState::kNormal:
      break;
  }
  return SW_SHOWNORMAL;
}

class Win32FormWindow final : public FormWindow {
 public:
  Win32FormWindow(const FormDesign& design, int pixelsPerInch, WindowEvents& events);

  // Answers the messages the toolkit handles; false leaves the message to the
  // default handling. Once an event handler has run, the object may be gone.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  std::uintptr_t NativeHandle() const override {
    return reinterpret_cast<std::uintptr_t>(form_.get());
  }
  void SetCaption(std::string_view caption) override {
    SetWindowTextA(form_.get(), std::string(caption).c_str());
  }
  std::string Caption() const override { return WindowText(form_.get()); }

  void Show() override;
  void Hide() override { ShowWindow(form_.get(), SW_HIDE); }
  bool IsVisible() const override { return IsWindowVisible(form_.get()); }
  void SetState(WindowState state) override;
  WindowState State() const override;
  void Repaint() override { UpdateWindow(form_.get()); }

  void SetMemoText(std::string_view text) override {
    SetWindowTextA(memo_, std::string(text).c_str());
  }
  std::string MemoText() const override { return WindowText(memo_); }
  void SetButtonEnabled(bool enabled) override { EnableWindow(button_, enabled); }
  bool IsButtonEnabled() const override { return IsWindowEnabled(button_); }

  void PostReleaseRequest() override;

  WindowPlacement Placement() const override;
  void SetPlacement(const WindowPlacement& placement) override;
  Rect Bounds() const override;

 private:
  static std::string WindowText(HWND window);
  int Scaled(int designPixels) const { return ScaledFromDesign(designPixels, pixelsPerInch_); }
  HWND CreateChild(const char* className, const char* text, DWORD style, DWORD exStyle, HWND parent,
                   int id, const char* part);
  void CreateForm(const FormDesign& design);
  void CreateChildren(const FormDesign& design);
  void Layout();
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  bool OnSysCommand(WPARAM command);

  ClassLease classes_;
  WindowEvents& events_;
  // Names the window in the failures of its creation.
  std::string caption_;
  int pixelsPerInch_;
  FontHandle formFont_;
  FontHandle memoFont_;
  IconHandle glyph_;
  int panelHeight_ = 0;
  struct {
    int top = 0, width = 0, height = 0;
  } buttonBox_;
  int buttonRightGap_ = 0;
  // A state set while hidden; Show applies it, as the window cannot take a
  // state without becoming visible.
  std::optional<WindowState> pendingState_;
  // Destroyed before the fonts and the glyph that its controls still use.
  WindowHandle form_;
  HWND panel_ = nullptr;
  HWND button_ = nullptr;
  HWND memo_ = nullptr;
};

Win32FormWindow::Win32FormWindow(const FormDesign& design, int pixelsPerInch, WindowEvents& events)
    : events_(events),
      caption_(design.caption),
      pixelsPerInch_(pixelsPerInch),
      formFont_(CreateDesignFont(design.formFontName, Scaled(design.formFontHeight),
                                 DEFAULT_CHARSET, DEFAULT_PITCH)),
      // The memo shows a table: should its face be missing, a fixed-pitch
      // stand-in keeps the columns aligned.
      memoFont_(CreateDesignFont(design.memoFontName, Scaled(design.memoFontHeight),
                                 static_cast<BYTE>(design.memoCharset), FIXED_PITCH | FF_MODERN)),
      glyph_(DrawGlyph()),
      panelHeight_(Scaled(design.panelHeight)) {
  CreateForm(design);
  CreateChildren(design);
  Layout();
}

void Win32FormWindow::CreateForm(const FormDesign& design) {
  form_.reset(CreateWindowExA(WS_EX_TOPMOST, kFormClass, design.caption.c_str(), kFormStyle,
                              Scaled(design.left), Scaled(design.top), Scaled(design.width),
                              Scaled(design.height), nullptr, nullptr, ThisModule(), nullptr));
  if (!form_) {
    throw CreationFailure("window", caption_);
  }
  SetWindowLongPtrA(form_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SendMessageA(form_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(glyph_.get()));
  SendMessageA(form_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(glyph_.get()));
}

void Win32FormWindow::CreateChildren(const FormDesign& design) {
  panel_ = CreateChild(kPanelClass, "", kPanelStyle, 0, form_.get(), 0, "panel");
  button_ = CreateChild("BUTTON", design.buttonCaption.c_str(), kButtonStyle, 0, panel_, kButtonId,
                        "button");
  memo_ = CreateChild("EDIT", "", kMemoStyle, WS_EX_CLIENTEDGE, form_.get(), kMemoId, "memo");
  SendMessageA(button_, WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);
  SendMessageA(memo_, WM_SETFONT, reinterpret_cast<WPARAM>(memoFont_.get()), FALSE);
  // Lift the edit control's default limit on what the user may type.
  SendMessageA(memo_, EM_SETLIMITTEXT, 0, 0);

  // The button keeps the distance from the right edge that it has in the
  // window's designed size, which is the size the window is created with.
  buttonBox_ = {Scaled(design.buttonTop), Scaled(design.buttonWidth), Scaled(design.buttonHeight)};
  RECT client;
  GetClientRect(form_.get(), &client);
  buttonRightGap_ = client.right - (Scaled(design.buttonLeft) + buttonBox_.width);
}

HWND Win32FormWindow::CreateChild(const char* className, const char* text, DWORD style,
                                  DWORD exStyle, HWND parent, int id, const char* part) {
  HWND child =
      CreateWindowExA(exStyle, className, text, style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  if (!child) {
    throw CreationFailure(part, caption_);
  }
  return child;
}

void Win32FormWindow::Layout() {
  RECT client;
  GetClientRect(form_.get(), &client);
  const int width = client.right;
  const int memoHeight = client.bottom > panelHeight_ ? client.bottom - panelHeight_ : 0;
  MoveWindow(memo_, 0, 0, width, memoHeight, TRUE);
  MoveWindow(panel_, 0, client.bottom - panelHeight_, width, panelHeight_, TRUE);
  MoveWindow(button_, width - buttonRightGap_ - buttonBox_.width, buttonBox_.top, buttonBox_.width,
             buttonBox_.height, TRUE);
}

std::string Win32FormWindow::WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Win32FormWindow::Show() {
  if (!IsWindowVisible(form_.get())) {
    events_.OnShowing();
    // ShowWindow with SW_SHOW leaves a minimized window minimized.
    ShowWindow(form_.get(), pendingState_ ? ShowCommandFor(*pendingState_) : SW_SHOW);
    pendingState_.reset();
  }
  SetWindowPos(form_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32FormWindow::SetState(WindowState state) {
  if (IsWindowVisible(form_.get())) {
    ShowWindow(form_.get(), ShowCommandFor(state));
  } else {
    pendingState_ = state;
  }
}

WindowState Win32FormWindow::State() const {
  if (pendingState_ && !IsWindowVisible(form_.get())) {
    return *pendingState_;
  }
  if (IsIconic(form_.get())) {
    return WindowState::kMinimized;
  }
  return IsZoomed(form_.get()) ? WindowState::kMaximized : WindowState::kNormal;
}

void Win32FormWindow::PostReleaseRequest() {
  if (!PostMessageA(form_.get(), kReleaseRequest, 0, 0)) {
    throw Failure("Cannot schedule the release of window \"" + Caption() +
                  "\": " + SystemErrorText(GetLastError()));
  }
}

WindowPlacement Win32FormWindow::Placement() const {
  WINDOWPLACEMENT native{};
  native.length = sizeof native;
  GetWindowPlacement(form_.get(), &native);
  const RECT& normal = native.rcNormalPosition;
  return {native.flags,
          native.showCmd,
          {native.ptMinPosition.x, native.ptMinPosition.y},
          {native.ptMaxPosition.x, native.ptMaxPosition.y},
          {normal.left, normal.top, normal.right, normal.bottom}};
}

void Win32FormWindow::SetPlacement(const WindowPlacement& placement) {
  WINDOWPLACEMENT native{};
  native.length = sizeof native;
  native.flags = placement.flags;
  native.showCmd = placement.showCmd;
  native.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
  native.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
  const Rect& normal = placement.normalPosition;
  native.rcNormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
  SetWindowPlacement(form_.get(), &native);
}

Rect Win32FormWindow::Bounds() const {
  RECT bounds{};
  GetWindowRect(form_.get(), &bounds);
  return {bounds.left, bounds.top, bounds.right, bounds.bottom};
}

bool Win32FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  WindowEvents& events = events_;
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_CLOSE:
      // Never the default handling, which would destroy the window.
      Guarded([&events] { events.OnCloseRequest(); });
      return true;
    case WM_QUERYENDSESSION:
      Guarded([&events] { events.OnQueryEndSession(); });
      result = TRUE;
      return true;
    case kReleaseRequest:
      Guarded([&events] { events.OnReleaseRequest(); });
      return true;
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), glyph_.get());
      result = TRUE;
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        Layout();
      }
      return true;
    case WM_SETFOCUS:
      SetFocus(memo_);
      return true;
  }
  return false;
}

bool Win32FormWindow::OnSysCommand(WPARAM command) {
  WindowEvents& events = events_;
  // A handler that fails has not asked for the default handling.
  bool handled = true;
  Guarded([&] { handled = events.OnSysCommand(static_cast<std::uint32_t>(command)); });
  return handled;
}

bool Win32FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  // A disabled button never clicks, not even when a program sends it BM_CLICK.
  if (HIWORD(wParam) != BN_CLICKED || reinterpret_cast<HWND>(lParam) != button_ ||
      !IsWindowEnabled(button_)) {
    return false;
  }
  WindowEvents& events = events_;
  Guarded([&events] { events.OnButtonClick(); });
  return true;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<Win32FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (form && form->OnMessage(message, wParam, lParam, result)) {
    return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<FormWindow> CreateFormWindow(const FormDesign& design, int pixelsPerInch,
                                             WindowEvents& events) {
  return std::make_unique<Win32FormWindow>(design, pixelsPerInch, events);
}

void ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit belongs to the host's own message loop: leave it there.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PostThreadSysCommand(std::uint32_t command) {
  PostMessageA(nullptr, WM_SYSCOMMAND, command, 0);
}

void ShowErrorBox(std::string_view caption, std::string_view text) {
  MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), kErrorBoxStyle);
}

}  // namespace orva::platform
