// The log database behind the window's query object.
//
// The host owns the database connection and hands it over as the 32-bit
// `Connection` field of the exchange record. Each build resolves that value
// in its own way (an ADO connection pointer on Windows, a handle issued by
// the native SQLite layer elsewhere); the contest logic only runs a query
// text, or asks for a whole table in callsign order, and reads the rows'
// columns by name as text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orva::platform {

class LogCursor {
 public:
  virtual ~LogCursor() = default;

  // Closing a closed query does nothing.
  virtual void Close() = 0;
  // Runs the query text against the connection. Raises "Missing Connection or
  // ConnectionString" when there is no usable connection, otherwise the
  // database's own message.
  virtual void Open(const std::string& queryText) = 0;
  // Runs `tableQuery`, a query text that reads one whole table with no
  // ordering of its own ("Select * from " and the table), with the rows in
  // ascending byte order of their CallSign column, and fails as Open does.
  // The Windows layer asks the host's database for it in the query text the
  // host's own tools send; the native one orders by the bytes of the texts
  // FieldText hands out, whatever the column's collation and values' types.
  virtual void OpenInCallsignOrder(const std::string& tableQuery) = 0;
  virtual bool IsOpen() const = 0;
  // True when the open query has no current row (also when it is closed).
  virtual bool Eof() const = 0;
  virtual void Next() = 0;
  // The current row's column as text: NULL gives the empty text, numbers
  // their decimal text. No value when the row has no such column. The text
  // lives in the cursor and stays valid until its next call.
  virtual std::optional<std::string_view> FieldText(const std::string& name) = 0;
};

// Binds a cursor to the host's connection. A connection that is plainly
// unusable raises a failure here; a missing one (0) is only reported when the
// query is opened.
std::unique_ptr<LogCursor> BindLogCursor(std::uint32_t connection);

}  // namespace orva::platform
