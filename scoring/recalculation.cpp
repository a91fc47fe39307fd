// The recalculation's steps over the log query, the columns it reads into
// the current-QSO record, and the check that keeps the table name from
// carrying anything into the query text but the name of one table.
#include "scoring/recalculation.h"

#include <array>

#include "base/failure.h"
#include "base/text.h"
#include "platform/toolkit.h"

namespace orva {

namespace {

bool IsIdentifierChar(char c) {
  return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsIdentifier(std::string_view part) {
  if (part.size() >= 2) {
    const char open = part.front();
    const char close = open == '[' ? ']' : open;
    if ((open == '[' || open == '"' || open == '`') && part.back() == close) {
      part = part.substr(1, part.size() - 2);
    }
  }
  if (part.empty()) {
    return false;
  }
  for (char c : part) {
    if (!IsIdentifierChar(c)) {
      return false;
    }
  }
  return true;
}

// The log columns in the order they are read, and the fields they fill.
struct Column {
  // A string, made once: "QSOReportRecived" is too long to be built for
  // every row without an allocation.
  std::string name;
  ShortString TExchangeRecord::*field;
};
const std::array<Column, 8> kColumns = {{
    {"QSOReportRecived", &TExchangeRecord::QSOReportRecived},
    {"DXCCPrefix", &TExchangeRecord::DXCCPrefix},
    {"MainPrefix", &TExchangeRecord::MainPrefix},
    {"CallSign", &TExchangeRecord::CallSign},
    {"DigiBand", &TExchangeRecord::DigiBand},
    {"QSOMode", &TExchangeRecord::QSOMode},
    {"Continent", &TExchangeRecord::Continent},
    {"ITUZone", &TExchangeRecord::ITUZone},
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

bool IsSafeTableName(std::string_view name) {
  // Quoted parts hold no dots, so splitting at every dot is exact.
  while (true) {
    const std::size_t dot = name.find('.');
    if (!IsIdentifier(name.substr(0, dot))) {
      return false;
    }
    if (dot == std::string_view::npos) {
      return true;
    }
    name.remove_prefix(dot + 1);
  }
}

void Recalculate(TContest& contest, TLogQuery& query, const RowObserver& observe) {
  TExchangeRecord& current = contest.current();
  const std::string band(current.DigiBand.text());
  contest.ClearQsoList();
  contest.ClearStatistics();
  query.Close();
  const std::string_view table = current.TableName.text();
  if (!IsSafeTableName(table)) {
    throw Failure("Invalid table name '" + std::string(table) + "'");
  }
  query.SetText("Select * from " + std::string(table) + " order by CallSign");
  query.Open();
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
