/* The headless windows' C interface for hosts on the native build.
 *
 * A host that loads the plug-in stands in here for the user and the system:
 * it lets the UI thread's message queue run, reads what the statistics window
 * shows, sends it what clicks and the system would send, posts code of its own
 * into the queue (to run while the plug-in lets messages through) and collects
 * the error boxes. Windows are named by the native handle the plug-in returns;
 * a zero or stale handle is safe in every call and gets the "none" answer.
 * Every call is made from the one UI thread; a call from another thread
 * aborts the process with a message, as does a handler or callback that lets
 * a C++ exception escape into the toolkit. */
#ifndef ORVA_WINDOW_H
#define ORVA_WINDOW_H

#include <stddef.h>
#include <stdint.h>

#include "base/system_commands.h" /* ORVA_SC_ */
#include "orva_native.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Results of the calls that send something to a window. */
#define ORVA_DELIVERED 1
#define ORVA_IGNORED 0 /* the window could not take it (see orva_window_press_button) */
#define ORVA_NO_WINDOW (-1)

/* Results of orva_window_state. */
#define ORVA_STATE_NONE 0 /* the handle is not a live window */
#define ORVA_STATE_HIDDEN 1
#define ORVA_STATE_NORMAL 2
#define ORVA_STATE_MINIMIZED 3
#define ORVA_STATE_MAXIMIZED 4

typedef struct orva_rect {
  int left, top, right, bottom;
} orva_rect;

/* The message queue. */

/* Dispatches every queued message, and those posted meanwhile, until the queue
 * is empty; returns how many messages this call took from the queue. */
ORVA_NATIVE_API size_t orva_pump(void);
ORVA_NATIVE_API size_t orva_pending_messages(void);
/* Queues callback(context), run when dispatched. 1 when queued, 0 for a NULL
 * callback. */
ORVA_NATIVE_API int orva_post_callback(void (*callback)(void*), void* context);
/* Queues a system command for a window, as posted by another program; window 0
 * makes it a thread message, which is discarded when dispatched. 1 when queued,
 * ORVA_NO_WINDOW for a nonzero handle that is not a live window. */
ORVA_NATIVE_API int orva_post_sys_command(uintptr_t window, uint32_t command);

/* Reading windows. */

/* Writes up to `capacity` live handles, oldest first; returns how many live. */
ORVA_NATIVE_API size_t orva_windows(uintptr_t* handles, size_t capacity);
ORVA_NATIVE_API int orva_window_exists(uintptr_t window);
/* An ORVA_STATE_ value; a hidden window is ORVA_STATE_HIDDEN whatever its
 * state. */
ORVA_NATIVE_API int orva_window_state(uintptr_t window);
/* Texts: up to size - 1 bytes and a NUL are written when size > 0; the result
 * is the text's full length, or -1 (with the empty text written) when the
 * handle is not a live window. */
ORVA_NATIVE_API ptrdiff_t orva_window_caption(uintptr_t window, char* buffer, size_t size);
ORVA_NATIVE_API ptrdiff_t orva_window_memo_text(uintptr_t window, char* buffer, size_t size);
/* 1 enabled, 0 greyed, ORVA_NO_WINDOW. */
ORVA_NATIVE_API int orva_window_button_enabled(uintptr_t window);
/* The outer rectangle; 1, or ORVA_NO_WINDOW (bounds untouched). */
ORVA_NATIVE_API int orva_window_bounds(uintptr_t window, orva_rect* bounds);

/* Sending to windows: each runs the window's handler before it returns and
 * answers ORVA_DELIVERED, ORVA_IGNORED or ORVA_NO_WINDOW. */

/* A close request (WM_CLOSE). */
ORVA_NATIVE_API int orva_window_close(uintptr_t window);
/* A system command; the default handling follows when the window leaves it:
 * minimize, maximize and restore change the state, close sends a close
 * request, anything else does nothing. */
ORVA_NATIVE_API int orva_window_sys_command(uintptr_t window, uint32_t command);
/* The system's query whether the session may end (WM_QUERYENDSESSION). */
ORVA_NATIVE_API int orva_window_query_end_session(uintptr_t window);
/* The user dragging the window's frame to a new outer rectangle: ORVA_IGNORED
 * unless the window is shown in its normal state. */
ORVA_NATIVE_API int orva_window_move(uintptr_t window, const orva_rect* bounds);
/* A user's click on the button: ORVA_IGNORED while the button is greyed, the
 * window is hidden or minimized, or an error box is open (it disables the
 * other windows). */
ORVA_NATIVE_API int orva_window_press_button(uintptr_t window);

/* Error boxes. Each box is closed (OK) at once; it is open only while the
 * listener runs. Nothing here prints a box: a host that wants them seen
 * prints them from its listener, on the stream of its choice. */

typedef void (*orva_error_box_listener)(void* context, const char* caption, const char* text);
/* NULL removes the listener. */
ORVA_NATIVE_API void orva_set_error_box_listener(orva_error_box_listener listener, void* context);
/* Boxes shown since the last clear, oldest first. */
ORVA_NATIVE_API size_t orva_error_box_count(void);
/* Texts as for windows; -1 when there is no box at `index`. */
ORVA_NATIVE_API ptrdiff_t orva_error_box_caption(size_t index, char* buffer, size_t size);
ORVA_NATIVE_API ptrdiff_t orva_error_box_text(size_t index, char* buffer, size_t size);
ORVA_NATIVE_API void orva_clear_error_boxes(void);

#ifdef __cplusplus
}
#endif

#endif
