// The host's command line, one for both systems: the logs, the modes and the
// options every build has, and those only the native host has (an SQLite
// log, the plug-in it loads and its command mode, see drive/drive_log.h). A mode
// added here appears in orva-host and orva-host.exe alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/run/options.h"
#include "host/system/host_failure.h"

namespace orva::host {

// Whether a summary is asked for, as text, JSON or a page.
bool SummaryAsked(const Options& options);

// Parses the words after the program's name; the exit status when the host
// should stop at once (help, version). A misused option raises a HostFailure
// that tells it with the usage. Where there is no command mode, a log given
// with no mode is scored (a file dropped on orva-host.exe), and no log and
// no mode prints the help.
std::optional<ExitStatus> ParseCommandLine(const std::vector<std::string>& words, Options& options);

}  // namespace orva::host
