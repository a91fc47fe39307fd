// A stand-in for the host's ADO connection, over rows the test holds.
//
// Wine's own ADO returns no rows, so the Windows tests and the Win32 test
// host give the plug-in this object instead. It answers the interfaces the
// log query calls (platform/win32/ado_interfaces.h) the way ADO does: the
// recordset steps through the rows in the order given, its fields follow the
// current row, column names match regardless of letter case, and a name that
// is not a column fails with ADO's item-not-found error. It records every
// query it runs, can make Execute fail as a provider does, and keeps true
// reference counts, so that a reference the plug-in leaks shows in the
// counts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace orva::test {

// One column value: null, a text (in the ANSI code page) or a 32-bit integer.
using FakeValue = std::variant<std::nullptr_t, std::string, int>;
using FakeRow = std::vector<FakeValue>;

struct ExecuteFailure {
  HRESULT code = E_FAIL;
  // The provider's description; empty fails with the bare HRESULT and no
  // error information at all.
  std::string description;
};

// The COM object behind FakeAdoConnection.
class FakeConnectionObject;

struct ExecutedCommand {
  std::string text;
  LONG options = 0;
};

class FakeAdoConnection {
 public:
  // Every row holds one value per column, in the order of `columns`.
  FakeAdoConnection(std::vector<std::string> columns, std::vector<FakeRow> rows);
  // Lets go of this object's reference; the connection lives on while the
  // plug-in still holds one.
  ~FakeAdoConnection();
  FakeAdoConnection(const FakeAdoConnection&) = delete;
  FakeAdoConnection& operator=(const FakeAdoConnection&) = delete;

  // The value a host puts into the exchange record's Connection field.
  std::uint32_t Handle() const;

  // The rows every following Execute delivers, as a host's log changes under
  // the plug-in. A recordset still open steps on through the new rows.
  void ReplaceRows(std::vector<FakeRow> rows);

  // Makes every following Execute fail this way; no value lets it succeed again.
  void FailExecute(std::optional<ExecuteFailure> failure);

  const std::vector<ExecutedCommand>& Executed() const;

  // References to the connection object, this object's own included.
  ULONG References() const;
  // Recordsets, field collections and fields that are still alive.
  int LiveChildren() const;

 private:
  FakeConnectionObject* connection_;
};

}  // namespace orva::test
