// The host's command line, one for both systems: the logs, the modes and the
// options every build has, and those only the native host has (an SQLite
// log, the plug-in it loads and its command mode, see drive_log.h). A mode
// added here appears in orva-host and orva-host.exe alike.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/host_failure.h"
#include "host/log_source.h"

namespace orva::host {

struct Options {
  std::vector<LogSpec> logs;  // in the order given
  ImportSettings import;
  bool score = false;
  bool explain = false;
  bool summary = false;
  bool json = false;
  std::string html;      // the page's file; "-": standard output
  std::string from, to;  // the contest period as given; its times in import.period
  std::string makeReference;
  bool keepAllReferences = false;  // --keep-all
  std::string checkReference;
  // Only where the host loads the plug-in (LoadsPlugin, drive_log.h):
  std::string plugin;
  std::string reference;  // empty: the plug-in's own, beside the host
  std::string caption;
  std::string commands;
  bool haveCommands = false;
};

// Whether a summary is asked for, as text, JSON or a page.
bool SummaryAsked(const Options& options);

// Parses the words after the program's name; the exit status when the host
// should stop at once (help, version). A misused option raises a HostFailure
// that tells it with the usage. Where there is no command mode, a log given
// with no mode is scored (a file dropped on orva-host.exe), and no log and
// no mode prints the help.
std::optional<ExitStatus> ParseCommandLine(const std::vector<std::string>& words, Options& options);

}  // namespace orva::host
