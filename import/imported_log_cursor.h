// An imported file's QSOs read as a log table, straight from memory: where
// no SQLite log stands between the file and the scoring code (the Windows
// tools), the plug-in's own recalculation runs over this cursor exactly as
// over a table of the host's log. It delivers what the native layer's
// temporary log does: the whole table in file order, or in callsign byte
// order with the QSOs of one callsign in file order, and besides the columns
// the plug-in reads, the number of each QSO (kImportedQsoColumn).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/imported_log.h"
#include "platform/database.h"

namespace orva::import {

class ImportedLogCursor final : public platform::LogCursor {
 public:
  // The QSOs stand as the table `table`, and must outlive the cursor.
  ImportedLogCursor(const std::vector<ImportedQso>& qsos, std::string table)
      : qsos_(qsos), table_(std::move(table)) {}

  void Close() override { open_ = false; }
  // The one query a log table of an imported file answers is the whole
  // table ("Select * from " and its name); any other raises a failure that
  // names it.
  void Open(const std::string& queryText) override;
  void OpenInCallsignOrder(const std::string& tableQuery) override;
  bool IsOpen() const override { return open_; }
  bool Eof() const override { return !open_ || row_ >= order_.size(); }
  void Next() override;
  // Column names are matched ignoring ASCII case, as SQLite matches them.
  std::optional<std::string_view> FieldText(const std::string& name) override;

 private:
  void OpenInOrder(const std::string& queryText, bool byCallsign);

  const std::vector<ImportedQso>& qsos_;
  std::string table_;
  std::vector<std::size_t> order_;  // indexes into qsos_, in the order opened
  std::size_t row_ = 0;
  bool open_ = false;
  std::string number_;  // the current row's kImportedQsoColumn as text
};

}  // namespace orva::import
