// The imported QSOs as the rows of a log table. The callsign order is a
// stable sort of the QSOs' positions, so that one station's QSOs keep the
// order they were handed in (time order, see PutInTimeOrder), as SQLite's
// sort keeps the insertion order of equal keys in the native temporary log.
#include "import/imported_log_cursor.h"

#include <algorithm>
#include <iterator>
#include <numeric>

#include "base/failure.h"
#include "base/text.h"
#include "scoring/recalculation.h"

namespace orva::import {

void ImportedLogCursor::Open(const std::string& queryText) {
  OpenInOrder(queryText, false);
}

void ImportedLogCursor::OpenInCallsignOrder(const std::string& tableQuery) {
  OpenInOrder(tableQuery, true);
}

void ImportedLogCursor::OpenInOrder(const std::string& queryText, bool byCallsign) {
  Close();
  const std::string wholeTable = SelectAllFrom(table_);
  if (queryText != wholeTable) {
    throw Failure("An imported log answers only \"" + wholeTable + "\", not \"" + queryText + "\"");
  }
  order_.resize(qsos_.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  if (byCallsign) {
    std::stable_sort(order_.begin(), order_.end(), [this](std::size_t a, std::size_t b) {
      return qsos_[a].CallSign < qsos_[b].CallSign;
    });
  }
  row_ = 0;
  open_ = true;
}

void ImportedLogCursor::Next() {
  if (Eof()) {
    throw Failure("The query has no current row to step from");
  }
  ++row_;
}

std::optional<std::string_view> ImportedLogCursor::FieldText(const std::string& name) {
  if (Eof()) {
    throw Failure("The query has no current row to read '" + name + "' from");
  }
  const ImportedQso& qso = qsos_[order_[row_]];
  const auto column = std::find_if(
      std::begin(kQsoColumns), std::end(kQsoColumns),
      [&name](const QsoColumn& column) { return EqualIgnoringAsciiCase(column.name, name); });
  if (column != std::end(kQsoColumns)) {
    return qso.*column->text;
  }
  if (EqualIgnoringAsciiCase(kImportedQsoColumn, name)) {
    number_ = std::to_string(order_[row_] + 1);
    return number_;
  }
  return std::nullopt;
}

}  // namespace orva::import
