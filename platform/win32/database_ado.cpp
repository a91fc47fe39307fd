// The log query on Windows: ADO through COM, on the connection object the
// host owns and hands over in the exchange record.
//
// The cursor holds its own reference to that connection for as long as it
// lives, runs the query text through Execute and reads the current row's
// columns through the recordset's Fields collection. Every COM call is
// checked: a failing one becomes a Failure carrying the text the provider
// set, or the HRESULT when it set none, so that nothing the database does can
// take the host down.
#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <utility>

#include "base/failure.h"
#include "platform/database.h"
#include "platform/win32/ado_interfaces.h"
#include "platform/win32/ole_text.h"

namespace orva::platform {
namespace {

using Microsoft::WRL::ComPtr;

static_assert(sizeof(void*) == sizeof(std::uint32_t),
              "the host hands its connection over as a 32-bit pointer");

// "0x" and eight upper-case hexadecimal digits, as Windows prints HRESULTs.
std::string HresultText(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

std::string ErrorText(HRESULT result) {
  ComPtr<IErrorInfo> info;
  BSTR description = nullptr;
  if (GetErrorInfo(0, info.GetAddressOf()) == S_OK && info &&
      SUCCEEDED(info->GetDescription(&description))) {
    const OwnedBstr owned(description);
    std::string text = AnsiText(description);
    if (!text.empty()) {
      return text;
    }
  }
  return HresultText(result);
}

// Runs one COM call with the thread's error information cleared first, so
// that a description found after a failure belongs to this call and not to
// an older failure that nobody collected.
template <typename Call>
HRESULT Attempt(const Call& call) {
  SetErrorInfo(0, nullptr);
  return call();
}

void Check(HRESULT result) {
  if (FAILED(result)) {
    throw Failure(ErrorText(result));
  }
}

template <typename Call>
void CheckedCall(const Call& call) {
  Check(Attempt(call));
}

// A call may succeed and still hand back no object.
template <typename Interface>
void RequireObject(const ComPtr<Interface>& object) {
  if (!object) {
    throw Failure(HresultText(E_POINTER));
  }
}

class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value_); }
  ~OwnedVariant() { VariantClear(&value_); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;

  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

std::string VariantText(VARIANT& value) {
  if (value.vt == VT_NULL || value.vt == VT_EMPTY) {
    return {};
  }
  if (value.vt == VT_BSTR) {
    return AnsiText(value.bstrVal);
  }
  OwnedVariant text;
  CheckedCall([&] { return VariantChangeType(text.get(), &value, 0, VT_BSTR); });
  return AnsiText(text.get()->bstrVal);
}

class AdoLogCursor final : public LogCursor {
 public:
  explicit AdoLogCursor(ComPtr<ado::Connection> connection) : connection_(std::move(connection)) {}

  // Closes quietly: a destructor has no one to report to, and the rows must
  // not stay open in the host's database after the window is gone.
  ~AdoLogCursor() override {
    fields_.Reset();
    if (rows_) {
      rows_->Close();
    }
  }

  void Close() override {
    if (!rows_) {
      return;
    }
    fields_.Reset();
    const ComPtr<ado::Recordset> rows = std::move(rows_);
    CheckedCall([&] { return rows->Close(); });
  }

  void Open(const std::string& queryText) override {
    if (!connection_) {
      throw Failure("Missing Connection or ConnectionString");
    }
    Close();
    const OwnedBstr text = NewBstr(queryText);
    OwnedVariant recordsAffected;
    ComPtr<ado::Recordset> rows;
    CheckedCall([&] {
      return connection_->Execute(text.get(), recordsAffected.get(), ado::kCmdText,
                                  rows.ReleaseAndGetAddressOf());
    });
    RequireObject(rows);
    rows_ = std::move(rows);
  }

  // The host's database orders the rows, asked in the plain SQL that every
  // provider the host may use reads.
  void OpenInCallsignOrder(const std::string& tableQuery) override {
    Open(tableQuery + " order by CallSign");
  }

  bool IsOpen() const override { return rows_ != nullptr; }

  bool Eof() const override {
    if (!rows_) {
      return true;
    }
    VARIANT_BOOL atEnd = VARIANT_TRUE;
    CheckedCall([&] { return rows_->get_EOF(&atEnd); });
    return atEnd != VARIANT_FALSE;
  }

  void Next() override {
    ado::Recordset& rows = OpenRows();
    CheckedCall([&] { return rows.MoveNext(); });
  }

  std::optional<std::string_view> FieldText(const std::string& name) override {
    ado::Fields& fields = OpenFields();
    OwnedVariant index;
    index.get()->vt = VT_BSTR;
    index.get()->bstrVal = NewBstr(name).release();
    ComPtr<ado::Field> field;
    const HRESULT found =
        Attempt([&] { return fields.get_Item(*index.get(), field.ReleaseAndGetAddressOf()); });
    if (found == ado::kErrItemNotFound) {
      return std::nullopt;
    }
    Check(found);
    RequireObject(field);
    OwnedVariant value;
    CheckedCall([&] { return field->get_Value(value.get()); });
    text_ = VariantText(*value.get());
    return text_;
  }

 private:
  ado::Recordset& OpenRows() const {
    if (!rows_) {
      throw Failure("The log query is not open");
    }
    return *rows_.Get();
  }

  // The collection belongs to the recordset and follows its current row, so
  // one fetched per opening serves every row.
  ado::Fields& OpenFields() {
    ado::Recordset& rows = OpenRows();
    if (!fields_) {
      ComPtr<ado::Fields> fields;
      CheckedCall([&] { return rows.get_Fields(fields.ReleaseAndGetAddressOf()); });
      RequireObject(fields);
      fields_ = std::move(fields);
    }
    return *fields_.Get();
  }

  // Released in reverse order: the fields before their recordset, the
  // connection last.
  ComPtr<ado::Connection> connection_;
  ComPtr<ado::Recordset> rows_;
  ComPtr<ado::Fields> fields_;
  std::string text_;  // the last field read, which the caller views
};

ComPtr<ado::Connection> AdoConnection(std::uint32_t handle) {
  auto* object = reinterpret_cast<IUnknown*>(static_cast<std::uintptr_t>(handle));
  ComPtr<ado::Connection> connection;
  HRESULT result = object->QueryInterface(
      ado::Connection::kIid, reinterpret_cast<void**>(connection.ReleaseAndGetAddressOf()));
  if (SUCCEEDED(result) && !connection) {
    result = E_POINTER;
  }
  if (FAILED(result)) {
    throw Failure("The host's database connection is not an ADO connection (" +
                  HresultText(result) + ")");
  }
  return connection;
}

}  // namespace

std::unique_ptr<LogCursor> BindLogCursor(std::uint32_t connection) {
  if (connection == 0) {
    return std::make_unique<AdoLogCursor>(nullptr);
  }
  return std::make_unique<AdoLogCursor>(AdoConnection(connection));
}

}  // namespace orva::platform
