// The reference file for the operator: made from old logs (the stations that
// send the same reference every year are in them), and checked for the lines
// that the plug-in's lookup would silently never use. Both read exchanges
// and file lines with the plug-in's own code, so what they promise is what
// the plug-in does.
#pragma once

#include <string>
#include <vector>

#include "host/host_failure.h"
#include "host/log_source.h"

namespace orva::host {

// Writes the reference file for `logs` to `path` ("-": standard output): for
// each callsign (in upper case) the reference of its last QSO that carried a
// continent-style one (two letters first), the logs in the order given and
// each log's rows in the table's order; one CALL=REFERENCE line per callsign
// in byte order, ended by CR LF. The file is written beside `path` and
// renamed over it, so an old file is never left half-written. Callsigns that
// gave different references and callsigns no lookup could match are named
// on standard error. kSucceeded when written, kIncomplete when written but
// records of a file were left out. When a log could not be read, a log gave
// no QSO, no QSO carried a reference, or the file could not be written,
// nothing is written and an old file stands as it was: kFailed when the
// reasons were told as the logs were read, else a HostFailure with them.
ExitStatus MakeReferenceFile(const std::vector<LogSpec>& logs, const ImportSettings& settings,
                             const std::string& path);

// Prints "FILE:LINE: finding" for every line of the reference file at `path`
// that can never pre-fill or pre-fills something that is no reference, and
// "FILE:LINE: note: ..." for every line that pre-fills a reference starting
// with no continent (worth 0 points). kSucceeded without findings (notes
// aside), kIncomplete with findings; a HostFailure when the file cannot be
// read.
ExitStatus CheckReferenceFile(const std::string& path);

}  // namespace orva::host
