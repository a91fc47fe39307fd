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
  static const std::string help = CommandsHelp();
  return help;
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
