// Whether this system's tools read SQLite logs, answered where each system
// opens its logs (open_log_native.cpp, open_log_win32.cpp), and what a log
// is told when they do not. Apart from open_log.h, so that telling a log's
// kind (log_source.cpp), which open_log.h builds on, can ask it.
#pragma once

namespace orva::host {

// Whether this system's tools read SQLite logs (--log).
bool ReadsSqliteLogs();

// Where an SQLite log is told it can be read, on a system whose tools read
// none.
inline constexpr char kSqliteLogsElsewhere[] =
    "which orva-host.exe cannot read: score it with the orva-host of the Linux package (--log)";

}  // namespace orva::host
