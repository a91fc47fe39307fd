// The native command-line host: loads the plug-in with dlopen exactly as a
// logging program loads the DLL, opens an SQLite log through the native
// database layer (or another program's ADIF or Cabrillo file read into a
// temporary one), and drives the plug-in and its headless window with one
// command per line, letting the message queue run between commands. Besides
// scoring, it explains a score QSO by QSO, summarizes a contest log or two or
// three side by side (as text, JSON or a page with charts), and makes and
// checks the reference file, with the plug-in's own scoring code.
//
// Commands: info, run, add CALL BAND MODE EXCHANGE, score CALL BAND MODE
// EXCHANGE, grab CALL, report, recalc, minimize, close, logoff, release,
// state, bounds, move LEFT TOP RIGHT BOTTOM, quit. Every error box the
// plug-in shows is printed once, when it shows: among the commands' answers,
// or on standard error beside the report of --score.
//
// Exit status: as host_failure.h lists them. Every failure is told once, in
// main(), as "orva-host: <message>" on standard error.
#include <CLI/CLI.hpp>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/explain.h"
#include "host/help_formatter.h"
#include "host/host_failure.h"
#include "host/log_source.h"
#include "host/plugin_session.h"
#include "host/reference_tools.h"
#include "host/summary_mode.h"
#include "platform/native/orva_native.h"
#include "platform/native/orva_window.h"

namespace {

using orva::host::ExitStatus;
using orva::host::HostFailure;
using orva::host::kFailed;
using orva::host::kIncomplete;
using orva::host::kSucceeded;
using orva::host::LogSpec;

struct Options {
  std::string plugin;
  std::vector<LogSpec> logs;  // in the order given
  orva::host::ImportSettings import;
  std::string caption;
  std::string reference;  // empty: the plug-in's own, beside the host
  std::string commands;
  bool haveCommands = false;
  bool score = false;
  bool explain = false;
  bool summary = false;
  bool json = false;
  std::string html;
  std::string from, to;
  std::string makeReference;
  std::string checkReference;
};

// The usage lines, after "usage: " on a misuse and "Usage: " in the help.
constexpr const char* kUsage =
    "orva-host [[--log | --adif | --cabrillo] FILE] [OPTION...] [MODE]\n"
    "  or:  orva-host --help | --version\n";

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

// The logs in the order they stand on the command line, whichever option
// named each: a reference file keeps the last reference of the last log.
std::vector<LogSpec> LogsInOrder(const CLI::App& app,
                                 const std::map<CLI::Option*, LogSpec::Format>& formats) {
  std::map<CLI::Option*, std::size_t> taken;
  std::vector<LogSpec> logs;
  for (CLI::Option* option : app.parse_order()) {
    const auto format = formats.find(option);
    if (format != formats.end()) {
      logs.push_back({format->second, option->results().at(taken[option]++)});
    }
  }
  return logs;
}

// The logs, and how their QSOs are read. The three log options keep their
// values on the option itself, one per time given, so that LogsInOrder can
// put them back in command-line order.
void AddLogOptions(CLI::App& app, Options& options,
                   std::map<CLI::Option*, LogSpec::Format>& formats) {
  constexpr const char* kGroup =
      "Logs (one; several with --make-reference, up to three with --summary and --html)";
  const auto add = [&](const char* name, const char* description, LogSpec::Format format) {
    formats[app.add_option(name, CLI::callback_t{}, description)
                ->take_all()
                ->type_name("FILE")
                ->group(kGroup)] = format;
  };
  add("--log", "an SQLite log", LogSpec::Format::kSqlite);
  add("--adif", "an ADIF (.adi) file of any logging program", LogSpec::Format::kAdif);
  add("--cabrillo", "a Cabrillo 3.0 log", LogSpec::Format::kCabrillo);
  formats[app.add_option("LOG", CLI::callback_t{},
                         "a log of any of the three kinds, told by its content")
              ->expected(1, -1)
              ->type_name("FILE")
              ->group(kGroup)] = LogSpec::Format::kUnknown;
  app.add_option("--table", options.import.table, "the log table's name (default: LOG)")
      ->type_name("NAME")
      ->group(kGroup);
  app.add_option("--exchange", options.import.adifExchangeFields,
                 "the ADIF fields that make the received exchange,\n"
                 "joined by spaces (default: SRX_STRING or SRX, and\n"
                 "IOTA)")
      ->delimiter(',')
      ->type_name("FIELD[,FIELD...]")
      ->group(kGroup);
  const CLI::Validator utcTime(
      [](const std::string& text) {
        return orva::host::ParseMoment(text) ? std::string()
                                             : "not a time 'YYYY-MM-DD HH:MM' (UTC): " + text;
      },
      "", "UTC time");
  app.add_option("--from", options.from,
                 "the contest period's start (UTC): every mode leaves\n"
                 "out the QSOs of a file made before it")
      ->type_name("'YYYY-MM-DD HH:MM'")
      ->check(utcTime)
      ->group(kGroup);
  app.add_option("--to", options.to,
                 "the contest period's end (UTC): every mode leaves\n"
                 "out the QSOs of a file made at or after it")
      ->type_name("'YYYY-MM-DD HH:MM'")
      ->check(utcTime)
      ->group(kGroup);
}

void AddModes(CLI::App& app, Options& options) {
  CLI::Option_group* modes =
      app.add_option_group("What to do", "at most one; without any, commands from standard input");
  modes->add_flag("--score", options.score, "print the window's report and stop");
  modes->add_flag("--explain", options.explain,
                  "print the log QSO by QSO as the plug-in scores it,\n"
                  "one tab-separated line each: callsign, band, mode,\n"
                  "exchange, reference, points, multiplier, date, time,\n"
                  "record");
  CLI::Option* summary = modes->add_flag("--summary", options.summary,
                                         "print the summary of the logs: the score per band\n"
                                         "and mode, the multipliers, duplicates, 0-point QSOs\n"
                                         "and hourly rate; of two or three, the head-to-head");
  app.add_flag("--json", options.json, "with --summary: print it as one JSON document")
      ->needs(summary)
      ->group("Other options");
  modes
      ->add_option("--html", options.html,
                   "write the summary as one page with charts\n"
                   "('-': standard output)")
      ->type_name("FILE");
  modes->add_option("-c", options.commands, "run these commands, separated by ';'")
      ->type_name("'CMD; CMD'");
  modes
      ->add_option("--make-reference", options.makeReference,
                   "write the reference file made from the logs\n"
                   "('-': standard output)")
      ->type_name("FILE");
  modes
      ->add_option("--check-reference", options.checkReference,
                   "name the lines of a reference file that cannot\n"
                   "pre-fill as meant, and note those worth 0 points")
      ->type_name("FILE");
  modes->require_option(0, 1);
}

void AddOtherOptions(CLI::App& app, Options& options) {
  constexpr const char* kGroup = "Other options";
  app.add_option("--plugin", options.plugin,
                 "the plug-in to load (default: beside orva-host,\n"
                 "else in " ORVA_PLUGIN_DIR " from there)")
      ->type_name("PATH")
      ->group(kGroup);
  // Only the plug-in reads it, for grab: the file tools make and check files
  // of their own.
  app.add_option("--reference", options.reference,
                 "the reference file the plug-in reads for grab\n"
                 "(default: Plugins/ORVA.txt beside orva-host)")
      ->type_name("FILE")
      ->group(kGroup)
      ->check(CLI::Validator(CLI::ExistingFile).description(""))
      ->excludes("--explain")
      ->excludes("--make-reference")
      ->excludes("--check-reference")
      ->excludes("--summary")
      ->excludes("--html");
  app.add_option("--caption", options.caption, "the exchange record's CaptionText")
      ->type_name("TEXT")
      ->group(kGroup);
  // Made again here so that they come last, in this group.
  app.set_help_flag();
  app.set_help_flag("-h,--help", "print this help and stop")->group(kGroup);
  app.set_version_flag("--version", "orva-host " ORVA_VERSION, "print the version and stop")
      ->group(kGroup);
}

bool SummaryAsked(const Options& options) {
  return options.summary || !options.html.empty();
}

void CheckLogCount(const Options& options) {
  constexpr std::size_t kMostSideBySide = 3;
  const bool several = !options.makeReference.empty();
  if (SummaryAsked(options) && options.logs.size() > kMostSideBySide) {
    throw CLI::ValidationError("--summary and --html take at most three logs");
  }
  if (options.logs.size() > 1 && !several && !SummaryAsked(options)) {
    throw CLI::ValidationError(
        "give one log (--log, --adif or --cabrillo); several only with "
        "--make-reference, --summary or --html");
  }
  if (options.logs.empty() &&
      (several || options.explain || options.score || SummaryAsked(options))) {
    throw CLI::ValidationError(
        "--score, --explain, --summary, --html and --make-reference need a log");
  }
}

// The contest period of --from and --to, both already known to be times.
void SetPeriod(Options& options) {
  orva::host::ContestPeriod& period = options.import.period;
  period.from = options.from.empty() ? std::nullopt : orva::host::ParseMoment(options.from);
  period.to = options.to.empty() ? std::nullopt : orva::host::ParseMoment(options.to);
  if (period.from && period.to && *period.from >= *period.to) {
    throw CLI::ValidationError("the contest period ends (--to) before it starts (--from)");
  }
}

// Tells the kind of each log given without it; raises a HostFailure when one
// cannot be read or is of no kind the host reads.
void RecogniseFormats(Options& options) {
  for (LogSpec& log : options.logs) {
    orva::host::RecogniseFormat(log);
    if (log.format == LogSpec::Format::kCabrillo && !options.import.adifExchangeFields.empty()) {
      throw CLI::ValidationError("--exchange names ADIF fields; " + log.path +
                                 " is a Cabrillo log, whose exchange is its QSO lines' fields");
    }
  }
}

// Parses the command line; the exit status when the host should stop at
// once (help, version). A misused option raises a HostFailure that tells it
// with the usage.
std::optional<ExitStatus> ParseCommandLine(int argc, char** argv, Options& options) {
  CLI::App app("Loads the contest plug-in as a logging program does, and scores logs with it.",
               "orva-host");
  app.formatter(std::make_shared<orva::host::HelpFormatter>(kUsage));
  app.footer(kCommandsHelp);
  std::map<CLI::Option*, LogSpec::Format> formats;
  AddLogOptions(app, options, formats);
  AddModes(app, options);
  AddOtherOptions(app, options);
  try {
    app.parse(argc, argv);
    options.logs = LogsInOrder(app, formats);
    options.haveCommands = app.count("-c") > 0;
    CheckLogCount(options);
    SetPeriod(options);
    RecogniseFormats(options);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return kSucceeded;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << "\n";
    return kSucceeded;
  } catch (const CLI::Error& misuse) {
    std::string usage = kUsage;
    usage.pop_back();  // main() ends the message's last line
    throw HostFailure(misuse.what() + ("\nusage: " + usage));
  }
  return std::nullopt;
}

ExitStatus MakeReference(const Options& options) {
  return orva::host::MakeReferenceFile(options.logs, options.import, options.makeReference);
}

ExitStatus Explain(const Options& options) {
  bool complete = true;
  const auto log = orva::host::OpenLog::Open(options.logs.front(), options.import, complete,
                                             orva::import::Origins::kKept);
  orva::host::Explain(*log, options.import.table, stdout);
  return complete ? kSucceeded : kIncomplete;
}

ExitStatus Summary(const Options& options) {
  using Request = orva::host::SummaryRequest;
  const Request request{options.html.empty()
                            ? (options.json ? Request::Form::kJson : Request::Form::kText)
                            : Request::Form::kPage,
                        options.html};
  return orva::host::WriteSummary(options.logs, options.import, request);
}

// Scores with the plug-in itself, or runs commands against it.
ExitStatus DrivePlugin(const Options& options) {
  bool complete = true;
  std::unique_ptr<orva::host::OpenLog> log;
  if (!options.logs.empty()) {
    log = orva::host::OpenLog::Open(options.logs.front(), options.import, complete);
  }
  const orva::host::Plugin plugin =
      orva::host::LoadPlugin(options.plugin.empty() ? FindPlugin() : options.plugin);
  if (!options.reference.empty()) {
    orva_set_reference_file(options.reference.c_str());
  }
  const orva::host::RecordContext context{log ? log->Connection() : 0, options.import.table,
                                          options.caption};
  int boxes = 0;
  {
    // With --score the standard output holds the report alone.
    orva::host::ErrorBoxPrinter printer(options.score ? std::cerr : std::cout);
    if (options.score) {
      orva::host::PrintScore(plugin, context);
    } else if (options.haveCommands) {
      std::istringstream script(options.commands);
      orva::host::RunCommands(plugin, context, script, ';');
    } else {
      orva::host::RunCommands(plugin, context, std::cin, '\n');
    }
    plugin.Release();
    orva_pump();
    boxes = printer.Shown();
  }
  const bool scoredAll = complete && !(options.score && boxes > 0);
  return scoredAll ? kSucceeded : kIncomplete;
}

ExitStatus Run(int argc, char** argv) {
  Options options;
  if (const std::optional<ExitStatus> stop = ParseCommandLine(argc, argv, options)) {
    return *stop;
  }
  // Only the command mode stands for a logging program, whose window comes
  // back where its user left it; the file tools leave no settings behind.
  const bool commandMode = !options.score && !options.explain && !SummaryAsked(options) &&
                           options.makeReference.empty() && options.checkReference.empty();
  if (!commandMode) {
    orva_keep_settings_in_memory(1);
  }
  if (!options.checkReference.empty()) {
    return orva::host::CheckReferenceFile(options.checkReference);
  }
  if (!options.makeReference.empty()) {
    return MakeReference(options);
  }
  if (options.explain) {
    return Explain(options);
  }
  if (SummaryAsked(options)) {
    return Summary(options);
  }
  return DrivePlugin(options);
}

int Tell(const char* message, ExitStatus status) {
  std::cerr << "orva-host: " << message << "\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // A logging program runs under its user's locale, and the plug-in ignores
  // letter case by that locale's rules (multiplier keys, the error box's
  // title). Numbers keep the C formatting that the reports and logs use.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_COLLATE, "");
  try {
    return Run(argc, argv);
  } catch (const HostFailure& failure) {
    return Tell(failure.what(), failure.status());
  } catch (const std::exception& failure) {
    return Tell(failure.what(), kFailed);
  }
}
