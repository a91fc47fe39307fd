// The logs the native host reads: an SQLite log of the host's own, or another
// program's ADIF or Cabrillo file read into a temporary log database. Either
// way the result is a native log handle the plug-in's code reads like a
// logging program's own log, so every tool of the host scores through it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/contest_period.h"
#include "import/imported_log.h"
#include "import/log_format.h"
#include "import/temporary_log_database.h"

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

// The bytes of a file the user named (a log, a reference file); raises a
// HostFailure "cannot open PATH: reason" when it cannot be read.
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

// One log, open for as long as the object lives.
class OpenLog {
 public:
  // Raises a HostFailure when the log cannot be opened or read. `complete`
  // turns false when records of a file were left out (each named on
  // standard error) or the file holds no QSO. An imported file's QSOs are
  // put in time order, in which the contest counts them.
  static std::unique_ptr<OpenLog> Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete,
                                       import::Origins origins = import::Origins::kLeftOut);
  ~OpenLog();
  OpenLog(const OpenLog&) = delete;
  OpenLog& operator=(const OpenLog&) = delete;

  std::uint32_t Connection() const { return connection_; }
  const std::string& Name() const { return name_; }
  // True for another program's file opened with its QSOs' origins, which
  // its rows then tell (see TemporaryLogDatabase).
  bool KeepsOrigins() const { return imported_ && origins_ == import::Origins::kKept; }
  // True for another program's file, read into a temporary log.
  bool Imported() const { return imported_ != nullptr; }
  // What the import left out of the file; nothing for an SQLite log.
  const LeftOut& Left() const { return leftOut_; }

 private:
  OpenLog(std::string name, std::unique_ptr<import::TemporaryLogDatabase> imported,
          import::Origins origins, std::uint32_t connection, const LeftOut& leftOut)
      : name_(std::move(name)),
        imported_(std::move(imported)),
        origins_(origins),
        connection_(connection),
        leftOut_(leftOut) {}

  std::string name_;
  std::unique_ptr<import::TemporaryLogDatabase> imported_;
  import::Origins origins_;
  std::uint32_t connection_;
  LeftOut leftOut_;
};

}  // namespace orva::host
