// The recalculation's steps over the log query, the columns it reads into
// the current-QSO record, and the check that keeps the table name from
// carrying anything into the query text but the name of one table.
#include "scoring/recalculation.h"

#include <array>

#include "base/failure.h"
#include "base/identifier.h"
#include "base/log_columns.h"
#include "base/text.h"
#include "platform/toolkit.h"

namespace orva {

namespace {

constexpr std::size_t kNoPart = std::string_view::npos;

bool IsSpaceOrTab(char c) {
  return c == ' ' || c == '\t';
}

char ClosingQuote(char open) {
  switch (open) {
    case '"':
      return '"';
    case '[':
      return ']';
    case '`':
      return '`';
    default:
      return '\0';
  }
}

std::size_t BarePartEnd(std::string_view name, std::size_t start) {
  std::size_t end = start;
  while (end < name.size() && IsIdentifierByte(name[end])) {
    ++end;
  }
  return end > start ? end : kNoPart;
}

// A quoted part ends at its closing quote; a doubled one stands for one quote
// of the name. A lead byte must not come right before a closing quote: the
// query reaches the database converted from the host's code page, where that
// byte and the quote become one character, so that the database would read
// on past the quote.
std::size_t QuotedPartEnd(std::string_view name, std::size_t start, char close,
                          LeadByteTest isLeadByte) {
  for (std::size_t at = start + 1; at < name.size(); ++at) {
    if (IsControl(name[at])) {
      return kNoPart;
    }
    if (name[at] != close) {
      continue;
    }
    if (isLeadByte(name[at - 1])) {
      return kNoPart;
    }
    if (at + 1 < name.size() && name[at + 1] == close) {
      ++at;
      continue;
    }
    return at > start + 1 ? at + 1 : kNoPart;
  }
  return kNoPart;
}

// Where the part of a dotted name that starts at `start` ends, or kNoPart
// when no part starts there.
std::size_t PartEnd(std::string_view name, std::size_t start, LeadByteTest isLeadByte) {
  const char close = ClosingQuote(name[start]);
  return close == '\0' ? BarePartEnd(name, start) : QuotedPartEnd(name, start, close, isLeadByte);
}

// The log columns in the order they are read, and the fields they fill.
struct Column {
  // A string, made once: "QSOReportRecived" is too long to be built for
  // every row without an allocation.
  std::string name;
  ShortString TExchangeRecord::*field;
};
const std::array<Column, 8> kColumns = {{
    {log_column::kQsoReportRecived, &TExchangeRecord::QSOReportRecived},
    {log_column::kDxccPrefix, &TExchangeRecord::DXCCPrefix},
    {log_column::kMainPrefix, &TExchangeRecord::MainPrefix},
    {log_column::kCallSign, &TExchangeRecord::CallSign},
    {log_column::kDigiBand, &TExchangeRecord::DigiBand},
    {log_column::kQsoMode, &TExchangeRecord::QSOMode},
    {log_column::kContinent, &TExchangeRecord::Continent},
    {log_column::kItuZone, &TExchangeRecord::ITUZone},
}};

void ReadRow(TLogQuery& query, TExchangeRecord& current) {
  for (const Column& column : kColumns) {
    ShortString& field = current.*column.field;
    field.assign(query.FieldText(column.name));
    if (column.field == &TExchangeRecord::Continent) {
      UpperAsciiInPlace(field.chars, field.length);
    }
  }
}

}  // namespace

bool IsSafeTableName(std::string_view name, LeadByteTest isLeadByte) {
  while (!name.empty() && IsSpaceOrTab(name.front())) {
    name.remove_prefix(1);
  }
  while (!name.empty() && IsSpaceOrTab(name.back())) {
    name.remove_suffix(1);
  }
  std::size_t at = 0;
  while (at < name.size()) {
    at = PartEnd(name, at, isLeadByte);
    if (at == kNoPart) {
      return false;
    }
    if (at == name.size()) {
      return true;
    }
    // Not every database reads blanks around a dot as inside one name, so a
    // dot joins two parts only when nothing stands between them.
    if (name[at] != '.') {
      return false;
    }
    ++at;
  }
  return false;
}

std::string SelectAllFrom(std::string_view table) {
  if (!IsSafeTableName(table)) {
    throw Failure("Invalid table name '" + std::string(table) + "'");
  }
  return "Select * from " + std::string(table);
}

void Recalculate(TContest& contest, TLogQuery& query, const RowObserver& observe) {
  TExchangeRecord& current = contest.current();
  const std::string band(current.DigiBand.text());
  contest.ClearQsoList();
  contest.ClearStatistics();
  query.Close();
  query.SetText(SelectAllFrom(current.TableName.text()));
  // The duplicates are found whatever the order (qso_list.h); the order
  // decides the order of the bands in the report (as first met), which of two
  // rows that share a multiplier adds it, and the order of --explain's rows.
  query.OpenInCallsignOrder();
  platform::ProcessMessages();
  TScoreDetail detail;
  while (!query.Eof()) {
    ReadRow(query, current);
    if (observe) {
      observe(current, contest.ScoreQso(true, &detail), detail);
    } else {
      contest.ScoreQso(true);
    }
    query.Next();
  }
  query.Close();
  current.DigiBand.assign(band);
}

}  // namespace orva
