/* The native platform library's C interface for hosts.
 *
 * On the native build the plug-in and its host share one platform library:
 * the table of open log connections, the headless windows with their message
 * queue and error boxes, the headless screen and the host-process facts live
 * here, so a host (or a test) drives and inspects what the plug-in sees
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

#ifdef __cplusplus
}
#endif

#endif
