/* The native platform library's C interface for hosts.
 *
 * On the native build the plug-in and its host share one platform library:
 * the table of open log connections, the headless windows with their message
 * queue and error boxes, the headless screen, the settings store and the
 * host-process facts live here, so a host (or a test) drives and inspects what the plug-in sees
 * through these calls. Every call is made from the host's one UI thread. */
#ifndef ORVA_NATIVE_H
#define ORVA_NATIVE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ORVA_NATIVE_API __attribute__((visibility("default")))

/* Host process. Overrides the path the plug-in takes for the host executable
 * (by default the running program's own path); NULL restores the default. */
ORVA_NATIVE_API void orva_set_executable_path(const char* path);
/* Names the reference file the plug-in reads (at the creation of its window)
 * instead of Plugins/ORVA.txt beside the host executable; NULL restores that
 * default. */
ORVA_NATIVE_API void orva_set_reference_file(const char* path);

/* Headless screen. Sets the primary screen's size in pixels and its pixels
 * per inch (default 1920x1080 at 96); returns 0, or -1 and changes nothing
 * when a value is not positive. */
ORVA_NATIVE_API int orva_set_screen(int width, int height, int pixelsPerInch);
/* Sets the frame size of a resizable window (default 4x4); returns 0, or -1
 * and changes nothing when a value is negative. */
ORVA_NATIVE_API int orva_set_frame_size(int cx, int cy);

/* Settings store. Nonzero keeps the settings in memory from now on, for as
 * long as the process runs: the plug-in reads and stores its window placement
 * as always, but the user's settings folder is neither read, made nor
 * written. 0 goes back to the folder and forgets what was kept. For a host
 * whose run stands for no logging program, such as scoring a file once. */
ORVA_NATIVE_API void orva_keep_settings_in_memory(int inMemory);

#ifdef __cplusplus
}
#endif

#endif
