// The native host drives the plug-in itself: the library loaded with dlopen
// as a logging program loads the DLL, the log opened through the native
// platform layer's handle, and the headless window's message queue run
// between calls. --score opens the window, which scores the log as it is
// first shown; the command mode stands for a logging program, one command a
// line. Every error box the plug-in shows is printed once, when it shows:
// among the commands' answers, or on standard error beside the report of
// --score.
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "host/drive/drive_log.h"
#include "host/drive/plugin_loading.h"
#include "host/drive/plugin_session.h"
#include "host/logs/open_log.h"
#include "platform/native/orva_native.h"
#include "platform/native/orva_window.h"

namespace orva::host {
namespace {

constexpr const char* kCommandsHelp =
    "Commands (one a line on standard input, or separated by ';' with -c):\n"
    "  info                    prints name and kind: the plug-in's information\n"
    "  run                     opens the window, which scores the log;\n"
    "                          prints handle N\n"
    "  add CALL BAND MODE [EXCHANGE]\n"
    "                          logs a QSO; prints points N (-1: a duplicate)\n"
    "  score CALL BAND MODE [EXCHANGE]\n"
    "                          prints points N that the QSO would score,\n"
    "                          without logging it\n"
    "  grab CALL               prints reference and what the plug-in pre-fills\n"
    "  report                  prints the window's report, then end\n"
    "  recalc                  presses Recalc Statistic; prints ok\n"
    "  minimize                presses the close button, which minimizes;\n"
    "                          prints ok\n"
    "  close                   asks the window to close; prints ok\n"
    "  logoff                  asks the window whether the session may end;\n"
    "                          prints ok\n"
    "  release                 releases the plug-in's window; prints ok\n"
    "  move LEFT TOP RIGHT BOTTOM\n"
    "                          moves the window as a user dragging it; prints ok\n"
    "  state                   prints state (hidden, normal, minimized,\n"
    "                          maximized or none) and the caption\n"
    "  bounds                  prints bounds and the window's left, top, right\n"
    "                          and bottom\n"
    "  quit                    stops reading commands\n"
    "Each command is answered on standard output. Words are separated by blanks;\n"
    "a word in quotes (\"...\" or '...') keeps its blanks. A command that is unknown\n"
    "or has missing or extra words is answered \"error: ...\" and does nothing.\n"
    "Every error box of the plug-in is printed once, as \"error-box CAPTION: TEXT\"\n"
    "(with --score, on standard error).";

constexpr const char* kPluginName = "RARIREZazoriz.so";

// The plug-in stands beside the host in a build tree, as it does beside a
// logging program, and in the private library folder of an installed host.
std::string FindPlugin() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    throw HostFailure("cannot tell where orva-host stands (" + error.message() +
                      "); give --plugin PATH");
  }
  const std::filesystem::path beside = self.parent_path() / kPluginName;
  const std::filesystem::path installed =
      (self.parent_path() / ORVA_PLUGIN_DIR / kPluginName).lexically_normal();
  for (const std::filesystem::path& candidate : {beside, installed}) {
    if (std::filesystem::exists(candidate, error)) {
      return candidate.string();
    }
  }
  throw HostFailure("no plug-in at " + beside.string() + " nor at " + installed.string() +
                    "; give --plugin PATH");
}

}  // namespace

bool LoadsPlugin() {
  return true;
}

std::string_view HelpFooter() {
  return kCommandsHelp;
}

ExitStatus DriveLog(const Options& options) {
  // Only the command mode stands for a logging program, whose window comes
  // back where its user left it; a score leaves no settings behind.
  if (options.score) {
    orva_keep_settings_in_memory(1);
  }
  bool complete = true;
  std::unique_ptr<OpenLog> log;
  if (!options.logs.empty()) {
    log = OpenLog::Open(options.logs.front(), options.import, complete);
  }
  const Plugin plugin = LoadPlugin(options.plugin.empty() ? FindPlugin() : options.plugin);
  if (!options.reference.empty()) {
    orva_set_reference_file(options.reference.c_str());
  }
  const RecordContext context{log ? log->Connection() : 0, options.import.table, options.caption};
  int boxes = 0;
  {
    // With --score the standard output holds the report alone.
    ErrorBoxPrinter printer(options.score ? std::cerr : std::cout);
    if (options.score) {
      PrintScore(plugin, context);
    } else if (options.haveCommands) {
      std::istringstream script(options.commands);
      RunCommands(plugin, context, script, ';');
    } else {
      RunCommands(plugin, context, std::cin, '\n');
    }
    plugin.Release();
    orva_pump();
    boxes = printer.Shown();
  }
  const bool scoredAll = complete && !(options.score && boxes > 0);
  return scoredAll ? kSucceeded : kIncomplete;
}

}  // namespace orva::host
