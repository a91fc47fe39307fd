/* Log databases on the native build, as a host opens them for the plug-in.
 *
 * A host opens its SQLite log here and puts the handle it gets into the
 * exchange record's 32-bit `Connection` field; the plug-in's log cursor
 * resolves that handle in the same table, which is why the table lives in the
 * shared platform library and not in either program. Handles are never 0 and
 * never issued twice while the process lives, so a stale handle can only
 * ever mean "no connection", never someone else's log.
 *
 * These calls may come from any thread. The plug-in reads a log only from the
 * thread that calls its exports, one call at a time, so a connection is not
 * locked for each read: a host that calls the plug-in from several threads
 * at once must serialise those calls, as it must for every export.
 *
 * The plug-in holds a read lock on the log only while a recalculation reads
 * it; a recalculation that fails lets go at once, though its query stays open
 * until the next one. In the default rollback-journal mode a host's write
 * waits for a running recalculation, and host code that the plug-in runs
 * while it recalculates (when it lets messages through) cannot write the log
 * at all until the recalculation ends; in WAL mode neither ever waits. */
#ifndef ORVA_LOG_H
#define ORVA_LOG_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ORVA_LOG_API __attribute__((visibility("default")))

/* Opens an existing SQLite log file for reading and writing (read only when
 * the file is write-protected); a missing file is never created. Returns the
 * connection's handle, or 0 with the reason in orva_log_last_error(). */
ORVA_LOG_API uint32_t orva_log_open(const char* path);

/* Forgets the handle: cursors opened later report a missing connection. A
 * cursor that is open on it keeps reading until it is closed, and the file is
 * released then. Returns 0, or nonzero when the handle is not open. */
ORVA_LOG_API int orva_log_close(uint32_t handle);

/* The text of the last failure of these calls on the calling thread ("" when
 * none has failed yet); valid until the next call on that thread. */
ORVA_LOG_API const char* orva_log_last_error(void);

#ifdef __cplusplus
}
#endif

#endif
