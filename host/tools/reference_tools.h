// The reference file for the operator: made from old logs (the stations that
// send the same reference every year are in them), and checked for the lines
// that the plug-in's lookup would silently never use. Both read exchanges
// and file lines with the plug-in's own code, so what they promise is what
// the plug-in does.
#pragma once

#include <string>
#include <vector>

#include "host/logs/log_source.h"
#include "host/system/host_failure.h"

namespace orva::host {

// Which of the references found at the end of the exchanges make the file:
// those shaped as references are (two letters, an optional "-" or "+",
// digits: EU-005, EU005, AN-016, SA+12), or all, names and serials of
// another contest's log among them.
enum class KeptReferences { kShaped, kAll };

// Writes the reference file for `logs` to `path` ("-": standard output): for
// each callsign (in upper case) the reference `kept` keeps that its QSOs gave
// most often, the latest among equals; latest in the time order of all the
// logs' QSOs, as if they were one log scored (those without a date and time,
// an SQLite log's rows among them, after all others, in the order of the
// logs given and of each log's records). One CALL=REFERENCE line per
// callsign in byte order, ended by CR LF. The file is written beside `path`
// and renamed over it, so an old file is never left half-written.
// Callsigns that gave different references, callsigns left out for want of a
// reference so shaped, and callsigns no lookup could match are named on
// standard error, and so is a log that gave no QSO: the file is made from
// the others. kSucceeded when written, kIncomplete when written but records
// of a file or a whole log were left out. When a log could not be read, no
// log gave a QSO, no callsign kept a reference, or the file could not be
// written, nothing is written and an old file stands as it was: kFailed when
// the reasons were told as the logs were read, else a HostFailure with them.
ExitStatus MakeReferenceFile(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                             const std::string& path, KeptReferences kept);

// Prints "FILE:LINE: finding" for every line of the reference file at `path`
// that can never pre-fill or pre-fills something that is no reference, and
// "FILE:LINE: note: ..." for every line that pre-fills a reference starting
// with no continent (worth 0 points). kSucceeded without findings (notes
// aside), kIncomplete with findings; a HostFailure when the file cannot be
// read.
ExitStatus CheckReferenceFile(const std::string& path);

}  // namespace orva::host
