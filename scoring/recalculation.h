// Rebuilding the whole contest state from the host's log table: every row
// goes through the same scoring as a live QSO, so the statistics always agree
// with the operator's log.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "scoring/contest.h"
#include "scoring/log_query.h"

namespace orva {

// True for a table name that is one or more identifiers of letters, digits
// and underscores joined by dots, each optionally quoted as [x], "x" or `x`.
// Anything else could smuggle SQL into the query text.
bool IsSafeTableName(std::string_view name);

// Called after each row is scored, with the row in the current record, the
// points it got and what the scoring found.
using RowObserver = std::function<void(const TExchangeRecord& row, std::int32_t points,
                                       const TScoreDetail& detail)>;

// Empties the contest's lists, reads every row of the current record's table
// in callsign order and scores it. Pending messages run once after the query
// is opened. The current record's band is put back afterwards. A failure
// leaves what was read so far. `observe`, when set, sees every scored row.
void Recalculate(TContest& contest, TLogQuery& query, const RowObserver& observe = {});

}  // namespace orva
