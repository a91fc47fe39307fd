// Rebuilding the whole contest state from the host's log table: every row
// goes through the same scoring as a live QSO, so the statistics always agree
// with the operator's log.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "scoring/contest.h"
#include "scoring/log_query.h"

namespace orva {

// Whether a byte opens a two-byte character of the host's code page.
using LeadByteTest = bool (*)(char byte);

// True for a text that names one table and adds nothing else to the query
// text it is put into verbatim: one or more parts joined by single dots, with
// blanks (spaces, tabs) allowed only around the whole. A part is bare
// (identifier bytes, base/identifier.h) or quoted whole as "x", [x] or `x`,
// its closing quote doubled inside standing for one. A quoted part may hold
// anything but control bytes, and no lead byte (`isLeadByte`) right before
// its closing quote. Empty parts, unterminated quotes, and anything outside
// quotes that is not a part, a dot or a blank (";", comments, clauses,
// aliases) make it false.
bool IsSafeTableName(std::string_view name, LeadByteTest isLeadByte = platform::IsLeadByte);

// "Select * from " and the table; raises "Invalid table name '<table>'" when
// the table name is not safe to put into a query text.
std::string SelectAllFrom(std::string_view table);

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
