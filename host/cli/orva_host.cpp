// orva-host, the command-line host, on both systems: it reads the command
// line, runs the one tool asked for, and tells every failure once, here, as
// "orva-host: <message>" on standard error. The file tools (explaining a
// score; summarizing a contest log, or two or three side by side, as text,
// JSON or a page with charts; making and checking the reference file) are
// the same code on both systems; scoring and the command mode are each
// system's own (drive_log.h).
//
// Exit status: as host_failure.h lists them.
#include <clocale>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "host/cli/command_line.h"
#include "host/drive/drive_log.h"
#include "host/logs/open_log.h"
#include "host/summary/summary_mode.h"
#include "host/system/console.h"
#include "host/system/host_failure.h"
#include "host/tools/explain.h"
#include "host/tools/reference_tools.h"

namespace {

using orva::host::ExitStatus;
using orva::host::HostFailure;
using orva::host::kFailed;
using orva::host::kIncomplete;
using orva::host::kSucceeded;
using orva::host::Options;

ExitStatus Explain(const Options& options) {
  bool complete = true;
  const auto log = orva::host::OpenLog::Open(options.logs.front(), options.import, complete);
  orva::host::Explain(*log, options.import.table, stdout);
  return complete ? kSucceeded : kIncomplete;
}

ExitStatus Summary(const Options& options) {
  using Request = orva::host::SummaryRequest;
  const Request request{
      options.html.empty() ? (options.json ? Request::Form::kJson : Request::Form::kText)
                           : Request::Form::kPage,
      options.html, options.minOffMinutes.value_or(orva::host::kDefaultMinOffMinutes)};
  return orva::host::WriteSummary(options.logs, options.import, request);
}

ExitStatus Run(const std::vector<std::string>& words) {
  Options options;
  if (const std::optional<ExitStatus> stop = orva::host::ParseCommandLine(words, options)) {
    return *stop;
  }
  if (!options.checkReference.empty()) {
    return orva::host::CheckReferenceFile(options.checkReference);
  }
  if (!options.makeReference.empty()) {
    using orva::host::KeptReferences;
    return orva::host::MakeReferenceFile(
        options.logs, options.import, options.makeReference,
        options.keepAllReferences ? KeptReferences::kAll : KeptReferences::kShaped);
  }
  if (options.explain) {
    return Explain(options);
  }
  if (orva::host::SummaryAsked(options)) {
    return Summary(options);
  }
  return orva::host::DriveLog(options);
}

// Through WriteText, so that a console shows a file's name as the user gave
// it.
int Tell(const char* message, ExitStatus status) {
  orva::host::WriteText(stderr, std::string("orva-host: ") + message + "\n");
  return status;
}

int RunAndTell(const std::vector<std::string>& words) {
  try {
    return Run(words);
  } catch (const HostFailure& failure) {
    return Tell(failure.what(), failure.status());
  } catch (const std::exception& failure) {
    return Tell(failure.what(), kFailed);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // A logging program runs under its user's locale, and the plug-in ignores
  // letter case by that locale's rules (multiplier keys, the error box's
  // title). Numbers keep the C formatting that the reports and logs use.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_COLLATE, "");
  const std::vector<std::string> words = orva::host::BeginRun(argc, argv);
  const int status = RunAndTell(words);
  std::cout.flush();
  orva::host::HoldOwnConsoleOpen();
  return status;
}
