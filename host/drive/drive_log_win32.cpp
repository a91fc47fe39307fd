// orva-host.exe scores a log with the plug-in's scoring library in its own
// process: the recalculation the window runs when it is first shown, over
// the log held in memory, and the report the window would then show, printed
// as the native host prints the plug-in's. A failure the window would show
// in its error box is printed as the native host prints that box, under the
// title the box would have (orva-host). No window, registry key or message
// box is made.
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "base/records.h"
#include "host/drive/drive_log.h"
#include "host/drive/plugin_loading.h"
#include "host/drive/window_output.h"
#include "host/logs/open_log.h"
#include "platform/host_process.h"
#include "scoring/contest.h"
#include "scoring/error_box_text.h"
#include "scoring/log_query.h"
#include "scoring/recalculation.h"
#include "scoring/report.h"

namespace orva::host {
namespace {

constexpr const char* kWindowsNotes =
    "On Windows:\n"
    "  A log given alone is scored as with --score: drop a log file on\n"
    "  orva-host.exe in Explorer, and its window stays open until Enter is\n"
    "  pressed. /? prints this help.\n"
    "  SQLite logs (--log), the plug-in's window and its commands are for the\n"
    "  orva-host of the Linux package alone.\n";

void ShowErrorBox(std::string_view message) {
  PrintErrorBox(ApplicationTitle(platform::HostExecutablePath()), ErrorBoxText(message), std::cerr);
}

// Recalculates the contest from the log as the window does, and prints the
// report it would then show; false, with the error box printed instead, when
// the recalculation fails.
bool PrintWindowReport(const OpenLog& log, const std::string& table) {
  TExchangeRecord current{};
  current.TableName.assign(table);
  TContest contest(current);
  TLogQuery query("LogQuery", log.Rows());
  try {
    Recalculate(contest, query);
  } catch (const std::exception& failure) {
    ShowErrorBox(failure.what());
    return false;
  } catch (...) {
    ShowErrorBox(kUnexpectedFailure);
    return false;
  }
  PrintReport(BuildReportText(contest.myStatList), std::cout);
  return true;
}

}  // namespace

bool LoadsPlugin() {
  return false;
}

std::string_view HelpFooter() {
  static const std::string footer = kWindowsNotes + std::string(kExitStatusHelp);
  return footer;
}

ExitStatus DriveLog(const Options& options) {
  bool complete = true;
  const std::unique_ptr<OpenLog> log =
      OpenLog::Open(options.logs.front(), options.import, complete);
  const bool shown = PrintWindowReport(*log, options.import.table);
  return complete && shown ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
