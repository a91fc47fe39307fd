// The rows of a log scored with the plug-in's own recalculation, each traced
// to where it came from: the columns an imported file's rows carry, or the
// row's place in its SQLite table.
#include "host/logs/scored_rows.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "base/log_columns.h"
#include "base/records.h"
#include "host/system/host_failure.h"
#include "import/imported_log.h"
#include "platform/database.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"
#include "scoring/recalculation.h"

namespace orva::host {
namespace {

template <typename Number>
Number NumberOf(std::string_view text) {
  Number number = 0;
  std::from_chars(text.data(), text.data() + text.size(), number);
  return number;
}

// Where each scored row came from. An imported file's rows hold the number
// of their QSO, whose origin the open log kept as its reader read it. The
// rows of an SQLite log are numbered in their table's order: the
// recalculation reads them ordered by callsign, those of one callsign in
// table order, so a first pass in that same order lists the number of each;
// a callsign other than the list's (the log was written to in between) ends
// the numbering rather than give wrong numbers.
class RowOrigins {
 public:
  RowOrigins(const std::vector<QsoOrigin>& imported, platform::LogCursor& rows)
      : imported_(&imported), importedRows_(&rows) {}
  // The recalculation refuses a table name that could carry more into the
  // query text than a table's name; so does the numbering.
  RowOrigins(std::uint32_t connection, const std::string& table) {
    try {
      if (IsSafeTableName(table)) {
        NumberTableRows(connection, table);
      }
    } catch (const std::exception&) {
      tableRows_.clear();  // a view, or a table without row ids: no numbers
    }
  }

  void Trace(ScoredRow& row) {
    if (importedRows_) {
      const auto number =
          NumberOf<std::size_t>(importedRows_->FieldText(import::kImportedQsoColumn).value_or(""));
      if (number >= 1 && number <= imported_->size()) {
        const QsoOrigin& origin = (*imported_)[number - 1];
        row.record = origin.record;
        row.when = origin.when;
      }
    } else if (next_ < tableRows_.size() && tableRows_[next_].callSign == row.callSign) {
      row.record = tableRows_[next_++].number;
    } else {
      next_ = tableRows_.size();
    }
  }

 private:
  // A row of an SQLite log's table, in the recalculation's order.
  struct TableRow {
    std::string callSign;  // as the record holds it
    std::size_t number;    // its place in table order, from 1
  };

  void NumberTableRows(std::uint32_t connection, const std::string& table) {
    const std::unique_ptr<platform::LogCursor> rows = platform::BindLogCursor(connection);
    rows->Open("Select rowid as OrvaRowId, CallSign from " + table + " order by CallSign");
    std::vector<std::int64_t> rowIds;
    for (; !rows->Eof(); rows->Next()) {
      rowIds.push_back(NumberOf<std::int64_t>(rows->FieldText("OrvaRowId").value_or("")));
      ShortString callSign{};
      callSign.assign(rows->FieldText(log_column::kCallSign).value_or(""));
      tableRows_.push_back({std::string(callSign.text()), 0});
    }
    rows->Close();
    std::vector<std::int64_t> inTableOrder = rowIds;
    std::sort(inTableOrder.begin(), inTableOrder.end());
    for (std::size_t i = 0; i < rowIds.size(); ++i) {
      tableRows_[i].number =
          static_cast<std::size_t>(
              std::lower_bound(inTableOrder.begin(), inTableOrder.end(), rowIds[i]) -
              inTableOrder.begin()) +
          1;
    }
  }

  const std::vector<QsoOrigin>* imported_ = nullptr;
  platform::LogCursor* importedRows_ = nullptr;
  std::vector<TableRow> tableRows_;
  std::size_t next_ = 0;
};

}  // namespace

void ScoreRows(const OpenLog& log, const std::string& table, const ScoredRowObserver& observe,
               TReportTotals* totals) {
  TExchangeRecord current{};
  current.Connection = log.Connection();
  current.TableName.assign(table);
  try {
    TContest contest(current);
    std::unique_ptr<platform::LogCursor> rows = log.Rows();
    RowOrigins origins = log.Imported() ? RowOrigins(log.ImportedOrigins(), *rows)
                                        : RowOrigins(log.Connection(), table);
    TLogQuery query("LogQuery", std::move(rows));
    Recalculate(contest, query,
                [&](const TExchangeRecord& row, std::int32_t points, const TScoreDetail& detail) {
                  ScoredRow scored{row.CallSign.text(),
                                   row.DigiBand.text(),
                                   row.QSOMode.text(),
                                   row.QSOReportRecived.text(),
                                   detail.reference,
                                   row.Continent.text(),
                                   points,
                                   detail.multiplier,
                                   {},
                                   0,
                                   detail.multiplierIndex};
                  origins.Trace(scored);
                  observe(scored);
                });
    if (totals) {
      *totals = ReportTotals(contest.myStatList);
    }
  } catch (const std::exception& failure) {
    throw HostFailure(failure.what(), kIncomplete);
  }
}

}  // namespace orva::host
