// The host's command line read with CLI11, and its help laid out by
// HelpFormatter. Where a system lacks something (SQLite logs, the plug-in
// and its command mode in orva-host.exe), its options are simply not there,
// and the texts that list them say what there is.
#include "host/cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>
#include <memory>

#include "host/cli/help_formatter.h"
#include "host/drive/plugin_loading.h"
#include "host/logs/contest_period.h"
#include "host/logs/sqlite_logs.h"
#include "host/summary/summary.h"
#include "host/system/console.h"

namespace orva::host {
namespace {

// The usage lines, after "usage: " on a misuse and "Usage: " in the help.
std::string Usage() {
  return std::string("orva-host [[") + (ReadsSqliteLogs() ? "--log | " : "") +
         "--adif | --cabrillo] FILE] [OPTION...] [MODE]\n"
         "  or:  orva-host --help | --version\n";
}

std::string LogOptions() {
  return ReadsSqliteLogs() ? "--log, --adif or --cabrillo" : "--adif or --cabrillo";
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

// The times in double quotes, which keep their blank in cmd.exe as in a Unix
// shell: cmd.exe passes single quotes on as part of the words.
void AddPeriodOptions(CLI::App& app, Options& options, const char* group) {
  const CLI::Validator utcTime(
      [](const std::string& text) {
        return ParseMoment(text) ? std::string() : "not a time \"YYYY-MM-DD HH:MM\" (UTC): " + text;
      },
      "", "UTC time");
  app.add_option("--from", options.from,
                 "the contest period's start (UTC): every mode leaves\n"
                 "out the QSOs of a file made before it")
      ->type_name("\"YYYY-MM-DD HH:MM\"")
      ->check(utcTime)
      ->group(group);
  app.add_option("--to", options.to,
                 "the contest period's end (UTC): every mode leaves\n"
                 "out the QSOs of a file made at or after it")
      ->type_name("\"YYYY-MM-DD HH:MM\"")
      ->check(utcTime)
      ->group(group);
}

// The logs, and how their QSOs are read. The log options keep their values
// on the option itself, one per time given, so that LogsInOrder can put them
// back in command-line order.
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
  if (ReadsSqliteLogs()) {
    add("--log", "an SQLite log", LogSpec::Format::kSqlite);
  }
  add("--adif", "an ADIF (.adi) file of any logging program", LogSpec::Format::kAdif);
  add("--cabrillo", "a Cabrillo 3.0 log", LogSpec::Format::kCabrillo);
  formats[app.add_option("LOG", CLI::callback_t{},
                         ReadsSqliteLogs() ? "a log of any of the three kinds, told by its content"
                                           : "a log of either kind, told by its content")
              ->expected(1, -1)
              ->allow_extra_args()  // else CLI11 takes one bare log only
              ->type_name("FILE")
              ->group(kGroup)] = LogSpec::Format::kUnknown;
  if (ReadsSqliteLogs()) {
    app.add_option("--table", options.import.table, "the log table's name (default: LOG)")
        ->type_name("NAME")
        ->group(kGroup);
  }
  app.add_option("--exchange", options.import.adifExchangeFields,
                 "the ADIF fields that make the received exchange,\n"
                 "joined by spaces (default: SRX_STRING or SRX, and\n"
                 "IOTA)")
      ->delimiter(',')
      ->type_name("FIELD[,FIELD...]")
      ->group(kGroup);
  AddPeriodOptions(app, options, kGroup);
}

void AddModes(CLI::App& app, Options& options) {
  CLI::Option_group* modes = app.add_option_group(
      "What to do", LoadsPlugin() ? "at most one; without any, commands from standard input"
                                  : "at most one; without any, a log is scored as with --score");
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
  app.add_option("--min-off", options.minOffMinutes,
                 "with --summary or --html: a pause of at least\n"
                 "MINUTES between two QSOs is off-time (default: " +
                     std::to_string(kDefaultMinOffMinutes) + ")")
      ->type_name("MINUTES")
      ->check(CLI::Validator(
          [](const std::string& text) {
            // A year of minutes at most: any longer least pause finds none.
            constexpr long long kMost = 366LL * 24 * 60;
            long long minutes = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, minutes);
            return error == std::errc() && stop == end && minutes >= 1 && minutes <= kMost
                       ? std::string()
                       : "not a number of minutes from 1 to " + std::to_string(kMost) + ": " + text;
          },
          "", "MINUTES"))
      ->group("Other options");
  modes
      ->add_option("--html", options.html,
                   "write the summary as one page with charts\n"
                   "('-': standard output)")
      ->type_name("FILE");
  if (LoadsPlugin()) {
    modes->add_option("-c", options.commands, "run these commands, separated by ';'")
        ->type_name("'CMD; CMD'");
  }
  CLI::Option* makeReference = modes->add_option("--make-reference", options.makeReference,
                                                 "write the reference file made from the logs\n"
                                                 "('-': standard output): for each callsign the\n"
                                                 "reference received most often, the latest among\n"
                                                 "equals, kept when it is two letters and digits\n"
                                                 "(EU-005, EU005, SA+12)");
  makeReference->type_name("FILE");
  app.add_flag("--keep-all", options.keepAllReferences,
               "with --make-reference: keep also the names and\n"
               "serials that end other contests' exchanges")
      ->needs(makeReference)
      ->group("Other options");
  modes
      ->add_option("--check-reference", options.checkReference,
                   "name the lines of a reference file that cannot\n"
                   "pre-fill as meant, and note those worth 0 points")
      ->type_name("FILE");
  modes->require_option(0, 1);
}

void AddPluginOptions(CLI::App& app, Options& options, const char* group) {
  app.add_option("--plugin", options.plugin,
                 "the plug-in to load (default: beside orva-host,\n"
                 "else in " ORVA_PLUGIN_DIR " from there)")
      ->type_name("PATH")
      ->group(group);
  // Only the plug-in reads it, for grab: the file tools make and check files
  // of their own.
  app.add_option("--reference", options.reference,
                 "the reference file the plug-in reads for grab\n"
                 "(default: Plugins/ORVA.txt beside orva-host)")
      ->type_name("FILE")
      ->group(group)
      ->check(CLI::Validator(CLI::ExistingFile).description(""))
      ->excludes("--explain")
      ->excludes("--make-reference")
      ->excludes("--check-reference")
      ->excludes("--summary")
      ->excludes("--html");
  app.add_option("--caption", options.caption, "the exchange record's CaptionText")
      ->type_name("TEXT")
      ->group(group);
}

void AddOtherOptions(CLI::App& app, Options& options) {
  constexpr const char* kGroup = "Other options";
  if (LoadsPlugin()) {
    AddPluginOptions(app, options, kGroup);
  }
  // Made again here so that they come last, in this group.
  app.set_help_flag();
  app.set_help_flag("-h,--help", "print this help and stop")->group(kGroup);
  app.set_version_flag("--version", "orva-host " ORVA_VERSION, "print the version and stop")
      ->group(kGroup);
}

void CheckLogCount(const Options& options) {
  constexpr std::size_t kMostSideBySide = 3;
  const bool several = !options.makeReference.empty();
  if (SummaryAsked(options) && options.logs.size() > kMostSideBySide) {
    throw CLI::ValidationError("--summary and --html take at most three logs");
  }
  if (options.logs.size() > 1 && !several && !SummaryAsked(options)) {
    throw CLI::ValidationError("give one log (" + LogOptions() +
                               "); several only with --make-reference, --summary or --html");
  }
  if (options.minOffMinutes && !SummaryAsked(options)) {
    throw CLI::ValidationError("--min-off needs --summary or --html");
  }
  if (options.logs.empty() &&
      (several || options.explain || options.score || SummaryAsked(options))) {
    throw CLI::ValidationError(
        "--score, --explain, --summary, --html and --make-reference need a log");
  }
}

// The contest period of --from and --to, both already known to be times.
void SetPeriod(Options& options) {
  ContestPeriod& period = options.import.period;
  period.from = options.from.empty() ? std::nullopt : ParseMoment(options.from);
  period.to = options.to.empty() ? std::nullopt : ParseMoment(options.to);
  if (period.from && period.to && *period.from >= *period.to) {
    throw CLI::ValidationError("the contest period ends (--to) before it starts (--from)");
  }
}

// Tells the kind of each log given without it; raises a HostFailure when one
// cannot be read or is of no kind the host reads.
void RecogniseFormats(Options& options) {
  for (LogSpec& log : options.logs) {
    RecogniseFormat(log);
    if (log.format == LogSpec::Format::kCabrillo && !options.import.adifExchangeFields.empty()) {
      throw CLI::ValidationError("--exchange names ADIF fields; " + NameOfFile(log.path) +
                                 " is a Cabrillo log, whose exchange is its QSO lines' fields");
    }
  }
}

// Refuses a log named as an option is, the Windows way ("/score",
// "/Summary", "/from:TIME"), with the option meant; a path such as
// /home/me/log.adi names no option after its slash and stays a log.
void RefuseWindowsStyleOption(const CLI::App& app, const std::string& word) {
  if (word.size() < 2 || word.front() != '/') {
    return;
  }
  std::string name = word.substr(1, word.find_first_of(":=") - 1);
  std::transform(name.begin(), name.end(), name.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  for (const std::string& option : {"--" + name, "-" + name}) {
    const CLI::Option* found = app.get_option_no_throw(option);
    if (found && found->nonpositional()) {
      throw CLI::ValidationError("unknown option " + word + "; did you mean " + option + "?");
    }
  }
}

bool GivesMode(const Options& options) {
  return options.score || options.explain || SummaryAsked(options) ||
         !options.makeReference.empty() || !options.checkReference.empty() || options.haveCommands;
}

}  // namespace

bool SummaryAsked(const Options& options) {
  return options.summary || !options.html.empty();
}

std::optional<ExitStatus> ParseCommandLine(const std::vector<std::string>& words,
                                           Options& options) {
  CLI::App app(LoadsPlugin() ? "Loads the contest plug-in as a logging program does, and scores "
                               "logs with it."
                             : "Scores logs with the contest plug-in's own rules, explains a "
                               "score QSO by QSO, summarizes it, and makes and checks the "
                               "reference file.",
               "orva-host");
  app.formatter(std::make_shared<HelpFormatter>(Usage()));
  // Options are spelled alike on both systems: a word that starts with "/"
  // is a path, as a Unix-style one under Wine is. /? alone is the help
  // (BeginRun).
  app.allow_windows_style_options(false);
  app.footer(std::string(HelpFooter()));
  std::map<CLI::Option*, LogSpec::Format> formats;
  AddLogOptions(app, options, formats);
  AddModes(app, options);
  AddOtherOptions(app, options);
  try {
    std::vector<std::string> reversed(words.rbegin(), words.rend());  // as CLI11 takes them
    app.parse(reversed);
    options.logs = LogsInOrder(app, formats);
    for (const LogSpec& log : options.logs) {
      RefuseWindowsStyleOption(app, log.path);
    }
    options.haveCommands = LoadsPlugin() && app.count("-c") > 0;
    if (!LoadsPlugin() && !GivesMode(options)) {
      if (options.logs.empty()) {
        throw CLI::CallForHelp();
      }
      options.score = true;
    }
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
    std::string usage = Usage();
    usage.pop_back();  // main() ends the message's last line
    throw HostFailure(misuse.what() + ("\nusage: " + usage));
  }
  return std::nullopt;
}

}  // namespace orva::host
