// The logs the host's tools are given: which kind each is, told by its
// content when the command line does not say, and another program's file
// (ADIF or Cabrillo) read into QSOs with every record left out or read with
// a guess named. open_log.h opens a log for scoring.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/logs/contest_period.h"
#include "import/imported_log.h"
#include "import/log_format.h"

namespace orva::host {

struct LogSpec {
  using Format = import::LogFormat;  // kUnknown: given without its kind
  Format format = Format::kSqlite;
  std::string path;
};

// Tells the kind of a log given without it from the file's content; raises a
// HostFailure when the file cannot be read or is of no kind the host reads.
void RecogniseFormat(LogSpec& source);

struct ImportSettings {
  std::string table = "LOG";
  std::vector<std::string> adifExchangeFields;  // empty: the readers' default
  ContestPeriod period;  // the QSOs of an imported file outside it are left out
};

// The bytes of a file the user named (a log, a reference file; "-" standard
// input); raises a HostFailure "cannot open PATH: reason" when it cannot be
// read.
std::string ReadUserFile(const std::string& path);

// Reads another program's file (ADIF or Cabrillo) into QSOs in file order,
// naming on standard error each record left out, each read with a guess, and
// what the reader remarked of the file; raises a HostFailure with the reason
// when the file cannot be opened or read, or holds no QSO and looks like
// another kind of log. `complete` turns false when records were left out or
// the file holds no QSO. The QSOs outside the settings' contest period are
// left out, their number told on standard error with that of the QSOs kept
// for having no time; `leftOut`, when given, receives the counts.
orva::import::ImportedLog ImportFile(const LogSpec& source, const ImportSettings& settings,
                                     bool& complete, LeftOut* leftOut = nullptr);

// Where an imported QSO came from, kept as its reader read it: what the
// explanation and the summary trace each scored row to.
struct QsoOrigin {
  std::size_t record;  // in its file, from 1
  import::QsoTime when;
};

// The origins of the QSOs, in their order.
std::vector<QsoOrigin> OriginsOf(const std::vector<import::ImportedQso>& qsos);

// Whether a file's bytes are those of an empty file: none, or blanks and
// line ends alone, as an editor saves a file emptied. The tools name such a
// file empty, and score it as a log of no QSO.
bool IsEmptyFile(std::string_view bytes);

// Names the option that fits a log whose content (`head`, its first bytes)
// is of another kind than it was given as; nothing when it shows no other
// kind.
std::optional<std::string> OtherKindHint(const LogSpec& source, std::string_view head);

}  // namespace orva::host
