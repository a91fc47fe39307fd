// One log open for the host's tools, whatever it was made of: the rows the
// scoring code reads through a log cursor, as it reads a logging program's
// log table. Each system holds it its own way: the native host in an
// SQLite log (the host's own, or a temporary one an imported file is
// written to), which the plug-in it loads opens by handle
// (open_log_native.cpp); orva-host.exe, which has no SQLite and loads no
// plug-in, as the imported QSOs in memory (open_log_win32.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/logs/log_source.h"
#include "import/imported_log.h"
#include "platform/database.h"

namespace orva::host {

class OpenLog {
 public:
  // Raises a HostFailure when the log cannot be opened or read. `complete`
  // turns false when records of a file were left out (each named on
  // standard error) or the file holds no QSO. An imported file's QSOs are
  // put in time order, in which the contest counts them.
  static std::unique_ptr<OpenLog> Open(const LogSpec& source, const ImportSettings& settings,
                                       bool& complete);
  // Imported QSOs, in file order, open as the log table `table`, as Open
  // opens another program's file once it has read it: put in time order,
  // each row traced to its QSO. `name` is the log's as the tools write it;
  // `omissions` what the import left out. Raises a HostFailure when the
  // system cannot hold them as a log.
  static std::unique_ptr<OpenLog> OfImported(std::string name,
                                             std::vector<import::ImportedQso> qsos,
                                             const std::string& table,
                                             const LeftOut& omissions = {});
  ~OpenLog();
  OpenLog(const OpenLog&) = delete;
  OpenLog& operator=(const OpenLog&) = delete;

  // A new cursor over the log's rows.
  std::unique_ptr<platform::LogCursor> Rows() const;
  // The native log handle the plug-in is given; 0 for a log held in memory.
  std::uint32_t Connection() const;
  // The log's file as the tools name it (NameOfFile, console.h).
  const std::string& Name() const { return facts_.name; }
  // True for another program's file, whose QSOs were imported.
  bool Imported() const { return facts_.imported; }
  // Where each imported QSO came from, by the number its row holds in the
  // column import::kImportedQsoColumn (the first at [0]); empty for an
  // SQLite log.
  const std::vector<QsoOrigin>& ImportedOrigins() const { return facts_.origins; }
  // What the import left out of the file; nothing for an SQLite log.
  const LeftOut& Omissions() const { return facts_.omissions; }

 private:
  struct RowSource;  // what the system reads the rows from

  // What a log is, whatever the system holds it in.
  struct Facts {
    std::string name;
    bool imported;
    LeftOut omissions;
    std::vector<QsoOrigin> origins;
  };

  OpenLog(Facts facts, std::unique_ptr<RowSource> rows);

  Facts facts_;
  std::unique_ptr<RowSource> rows_;
};

}  // namespace orva::host
