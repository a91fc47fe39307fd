// What a run of the host was asked to do: the logs, the mode, and the
// settings of the import, the period and the plug-in, as the command line
// read them (cli/command_line.h). A header of its own, below the wings that
// read it, so that the driver of the plug-in takes the options without
// reaching up to the command line that fills them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/logs/log_source.h"

namespace orva::host {

struct Options {
  std::vector<LogSpec> logs;  // in the order given
  ImportSettings import;
  bool score = false;
  bool explain = false;
  bool summary = false;
  bool json = false;
  std::string html;                           // the page's file; "-": standard output
  std::optional<std::int64_t> minOffMinutes;  // --min-off; none: the summary's own
  std::string from, to;  // the contest period as given; its times in import.period
  std::string makeReference;
  bool keepAllReferences = false;  // --keep-all
  std::string checkReference;
  // Only where the host loads the plug-in (LoadsPlugin, drive/plugin_loading.h):
  std::string plugin;
  std::string reference;  // empty: the plug-in's own, beside the host
  std::string caption;
  std::string commands;
  bool haveCommands = false;
};

}  // namespace orva::host
