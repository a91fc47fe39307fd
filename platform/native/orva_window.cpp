// The hosts' C interface onto the headless windows (orva_window.h): the host
// stands in for the user and the system, so it pumps the message queue, reads
// what a window shows, sends it what clicks and the system would send, and
// collects the error boxes. A zero or stale handle gets the "none" answer
// rather than a crash, since a host cannot tell when the plug-in has
// destroyed its window.
#include <algorithm>
#include <cstdio>

#include "platform/native/headless_windows.h"
#include "platform/native/orva_window.h"

namespace orva::platform::headless {
namespace {

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

int HostState(const HeadlessWindow& window) {
  if (!window.IsVisible()) {
    return ORVA_STATE_HIDDEN;
  }
  switch (window.State()) {
    case WindowState::kMinimized:
      return ORVA_STATE_MINIMIZED;
    case WindowState::kMaximized:
      return ORVA_STATE_MAXIMIZED;
    case WindowState::kNormal:
      break;
  }
  return ORVA_STATE_NORMAL;
}

}  // namespace
}  // namespace orva::platform::headless

namespace headless = orva::platform::headless;
using headless::HeadlessWindow;
using headless::TheToolkit;

extern "C" {

size_t orva_pump(void) {
  headless::CheckUiThread("orva_pump");
  return headless::DispatchAll();
}

size_t orva_pending_messages(void) {
  headless::CheckUiThread("orva_pending_messages");
  return TheToolkit().queue.size();
}

int orva_post_callback(void (*callback)(void*), void* context) {
  headless::CheckUiThread("orva_post_callback");
  if (!callback) {
    return 0;
  }
  return headless::PostFromHost("orva_post_callback", [&] {
    headless::Post(
        [callback, context] { headless::CallOut("a host callback", [&] { callback(context); }); });
  });
}

int orva_post_sys_command(uintptr_t window, uint32_t command) {
  headless::CheckUiThread("orva_post_sys_command");
  if (window != 0 && !headless::FindWindow(window)) {
    return ORVA_NO_WINDOW;
  }
  return headless::PostFromHost("orva_post_sys_command",
                                [&] { headless::PostSysCommand(window, command); });
}

size_t orva_windows(uintptr_t* handles, size_t capacity) {
  headless::CheckUiThread("orva_windows");
  const auto& windows = TheToolkit().windows;
  size_t written = 0;
  for (auto it = windows.begin(); handles && it != windows.end() && written < capacity; ++it) {
    handles[written++] = it->first;
  }
  return windows.size();
}

int orva_window_exists(uintptr_t window) {
  return headless::OnWindow("orva_window_exists", window, 0, [](HeadlessWindow&) { return 1; });
}

int orva_window_state(uintptr_t window) {
  return headless::OnWindow("orva_window_state", window, ORVA_STATE_NONE,
                            [](HeadlessWindow& found) { return headless::HostState(found); });
}

ptrdiff_t orva_window_caption(uintptr_t window, char* buffer, size_t size) {
  return headless::WindowText("orva_window_caption", window, &HeadlessWindow::Caption, buffer,
                              size);
}

ptrdiff_t orva_window_memo_text(uintptr_t window, char* buffer, size_t size) {
  return headless::WindowText("orva_window_memo_text", window, &HeadlessWindow::MemoText, buffer,
                              size);
}

int orva_window_button_enabled(uintptr_t window) {
  return headless::OnWindow("orva_window_button_enabled", window, ORVA_NO_WINDOW,
                            [](HeadlessWindow& found) { return found.IsButtonEnabled() ? 1 : 0; });
}

int orva_window_bounds(uintptr_t window, orva_rect* bounds) {
  return headless::OnWindow("orva_window_bounds", window, ORVA_NO_WINDOW,
                            [&](HeadlessWindow& found) {
                              const orva::Rect rect = found.Bounds();
                              if (bounds) {
                                *bounds = {rect.left, rect.top, rect.right, rect.bottom};
                              }
                              return 1;
                            });
}

int orva_window_close(uintptr_t window) {
  return headless::Send("orva_window_close", window,
                        [](HeadlessWindow& found) { found.SendCloseRequest(); });
}

int orva_window_sys_command(uintptr_t window, uint32_t command) {
  return headless::Send("orva_window_sys_command", window,
                        [command](HeadlessWindow& found) { found.SendSysCommand(command); });
}

int orva_window_query_end_session(uintptr_t window) {
  return headless::Send("orva_window_query_end_session", window,
                        [](HeadlessWindow& found) { found.SendQueryEndSession(); });
}

int orva_window_move(uintptr_t window, const orva_rect* bounds) {
  return headless::OnWindow(
      "orva_window_move", window, ORVA_NO_WINDOW, [bounds](HeadlessWindow& found) {
        if (!bounds) {
          return ORVA_IGNORED;
        }
        const orva::Rect rect = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        return found.MoveTo(rect) ? ORVA_DELIVERED : ORVA_IGNORED;
      });
}

int orva_window_press_button(uintptr_t window) {
  return headless::OnWindow(
      "orva_window_press_button", window, ORVA_NO_WINDOW,
      [](HeadlessWindow& found) { return found.PressButton() ? ORVA_DELIVERED : ORVA_IGNORED; });
}

void orva_set_error_box_listener(orva_error_box_listener listener, void* context) {
  headless::CheckUiThread("orva_set_error_box_listener");
  TheToolkit().listener = listener;
  TheToolkit().listenerContext = listener ? context : nullptr;
}

size_t orva_error_box_count(void) {
  headless::CheckUiThread("orva_error_box_count");
  return TheToolkit().errorBoxes.size();
}

ptrdiff_t orva_error_box_caption(size_t index, char* buffer, size_t size) {
  return headless::ErrorBoxText("orva_error_box_caption", index, &headless::ErrorBox::caption,
                                buffer, size);
}

ptrdiff_t orva_error_box_text(size_t index, char* buffer, size_t size) {
  return headless::ErrorBoxText("orva_error_box_text", index, &headless::ErrorBox::text, buffer,
                                size);
}

void orva_clear_error_boxes(void) {
  headless::CheckUiThread("orva_clear_error_boxes");
  TheToolkit().errorBoxes.clear();
}

}  // extern "C"
