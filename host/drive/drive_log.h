// How each system scores a log as the logging program's window would, the
// one thing the two builds of the host do differently. The native host
// loads the plug-in with dlopen, as a logging program loads the DLL, and
// also drives it command by command (drive_log_native.cpp). orva-host.exe
// runs the plug-in's scoring library in its own process, over the log held
// in memory, and prints what the window would show (drive_log_win32.cpp):
// no window, no registry, no message box.
#pragma once

#include "host/run/options.h"
#include "host/system/host_failure.h"

namespace orva::host {

// --score: prints the window's report on standard output, and every error
// box it shows as "error-box CAPTION: TEXT" on standard error; kIncomplete
// when records of the log were left out or an error box showed. Without
// --score (the native command mode): runs the commands of -c or of
// standard input against the plug-in.
ExitStatus DriveLog(const Options& options);

}  // namespace orva::host
