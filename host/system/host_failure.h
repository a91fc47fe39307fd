// How the host's tools fail: a failure of the project's own type that also
// carries the status the host exits with. main() alone catches it, and tells
// it as "orva-host: <message>" on standard error; nothing else in the host
// prints an error. Warnings (records left out, callsigns no lookup matches)
// are no failures: they are told where they arise and the work goes on.
#pragma once

#include <string>
#include <string_view>

#include "base/failure.h"

namespace orva::host {

// The host's exit statuses, the same for every tool.
enum ExitStatus : int {
  kSucceeded = 0,
  // The score may be incomplete (records left out, no QSO in the file, an
  // error box while scoring), or a checked reference file has findings.
  kIncomplete = 1,
  // Nothing could be done: bad options, a file or plug-in that cannot be
  // opened, a file not written.
  kFailed = 2,
};

// The statuses as the help tells them.
inline constexpr std::string_view kExitStatusHelp =
    "Exit status: 0 all went well; 1 the score may be incomplete (records left\n"
    "out, an error box), or the checked file has findings; 2 nothing could be\n"
    "done.";

class HostFailure : public Failure {
 public:
  explicit HostFailure(const std::string& message, ExitStatus status = kFailed)
      : Failure(message), status_(status) {}

  ExitStatus status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace orva::host
