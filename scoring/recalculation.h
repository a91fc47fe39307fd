// Rebuilding the whole contest state from the host's log table: every row
// goes through the same scoring as a live QSO, so the statistics always agree
// with the operator's log.
#pragma once

#include <string_view>

#include "scoring/contest.h"
#include "scoring/log_query.h"

namespace orva {

// True for a table name that is one or more identifiers of letters, digits
// and underscores joined by dots, each optionally quoted as [x], "x" or `x`.
// Anything else could smuggle SQL into the query text.
bool IsSafeTableName(std::string_view name);

// Empties the contest's lists, reads every row of the current record's table
// in callsign order and scores it. Pending messages run once after the query
// is opened. The current record's band is put back afterwards. A failure
// leaves what was read so far.
void Recalculate(TContest& contest, TLogQuery& query);

}  // namespace orva
