// The COM objects behind the fake ADO connection: the connection itself, the
// recordsets its Execute returns, their field collections and fields.
//
// Each child object holds a reference to the object it came from (fields to
// their recordset, a recordset to its connection), as ADO's do, so a child
// the plug-in fails to release keeps the connection's count up. Methods the
// plug-in never calls answer E_NOTIMPL; they exist because an interface's
// slots must all be there.
#include "tests/win32/fake_ado.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <stdexcept>
#include <utility>

#include "platform/win32/ado_interfaces.h"
#include "platform/win32/ole_text.h"

namespace orva::test {

namespace ado = platform::ado;
using Microsoft::WRL::ComPtr;

namespace {

// Reference counting, the identities an object answers to, and IDispatch,
// which the plug-in never calls. `Self` is the final class, deleted when the
// last reference goes.
template <typename Self, typename Interface>
class ComObject : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) {
      return E_POINTER;
    }
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
        !IsEqualIID(iid, Interface::kIid)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      delete static_cast<Self*>(this);
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  ULONG References() const { return references_; }

 protected:
  ComObject() = default;
  ~ComObject() = default;

 private:
  ULONG references_ = 1;
};

// ADO objects other than collections carry a Properties collection.
template <typename Self, typename Interface>
class AdoObject : public ComObject<Self, Interface> {
 public:
  HRESULT STDMETHODCALLTYPE get_Properties(IDispatch**) override { return E_NOTIMPL; }
};

// Counts a child object in its connection's tally for as long as it lives.
class LiveChild {
 public:
  explicit LiveChild(int& tally) : tally_(tally) { ++tally_; }
  ~LiveChild() { --tally_; }
  LiveChild(const LiveChild&) = delete;
  LiveChild& operator=(const LiveChild&) = delete;

 private:
  int& tally_;
};

void SetErrorDescription(const std::string& description) {
  ComPtr<ICreateErrorInfo> created;
  ComPtr<IErrorInfo> info;
  if (FAILED(CreateErrorInfo(created.GetAddressOf())) || FAILED(created.As(&info))) {
    throw std::runtime_error("the fake connection cannot create error information");
  }
  const platform::OwnedBstr text = platform::NewBstr(description);
  created->SetDescription(text.get());
  created->SetGUID(ado::Connection::kIid);
  SetErrorInfo(0, info.Get());
}

}  // namespace

class FakeConnectionObject final : public AdoObject<FakeConnectionObject, ado::Connection> {
 public:
  FakeConnectionObject(std::vector<std::string> columns, std::vector<FakeRow> rows) {
    for (const std::string& column : columns) {
      columns_.push_back(platform::NewBstr(column));
    }
    ReplaceRows(std::move(rows));
  }

  void ReplaceRows(std::vector<FakeRow> rows) {
    for (const FakeRow& row : rows) {
      if (row.size() != columns_.size()) {
        throw std::invalid_argument("every fake row needs one value per column");
      }
    }
    rows_ = std::move(rows);
  }

  HRESULT STDMETHODCALLTYPE Execute(BSTR commandText, VARIANT*, LONG options,
                                    ado::Recordset** rows) override;

  const std::vector<platform::OwnedBstr>& Columns() const { return columns_; }
  const std::vector<FakeRow>& Rows() const { return rows_; }
  int& ChildTally() { return childTally_; }
  const std::vector<ExecutedCommand>& Executed() const { return executed_; }
  void FailExecute(std::optional<ExecuteFailure> failure) { failure_ = std::move(failure); }

  HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ConnectionString(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_CommandTimeout(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_CommandTimeout(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ConnectionTimeout(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Version(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Close() override { return E_NOTIMPL; }

 private:
  std::vector<platform::OwnedBstr> columns_;
  std::vector<FakeRow> rows_;
  int childTally_ = 0;
  std::vector<ExecutedCommand> executed_;
  std::optional<ExecuteFailure> failure_;
};

namespace {

class Recordset final : public AdoObject<Recordset, ado::Recordset> {
 public:
  explicit Recordset(FakeConnectionObject& connection)
      : connection_(&connection), live_(connection.ChildTally()) {}

  FakeConnectionObject& Connection() const { return *connection_.Get(); }

  HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL* atEnd) override {
    if (!atEnd) {
      return E_POINTER;
    }
    if (!open_) {
      return ado::kErrObjectClosed;
    }
    *atEnd = AtEnd() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Fields(ado::Fields** fields) override;
  HRESULT STDMETHODCALLTYPE Close() override {
    if (!open_) {
      return ado::kErrObjectClosed;
    }
    open_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE MoveNext() override {
    const HRESULT state = CurrentRowState();
    if (SUCCEEDED(state)) {
      ++row_;
    }
    return state;
  }

  // The current row's value of a column, as a provider hands it over.
  HRESULT Value(std::size_t column, VARIANT* value) const {
    const HRESULT state = CurrentRowState();
    if (FAILED(state)) {
      return state;
    }
    const FakeValue& cell = Connection().Rows()[row_][column];
    if (const std::string* text = std::get_if<std::string>(&cell)) {
      value->vt = VT_BSTR;
      value->bstrVal = platform::NewBstr(*text).release();
    } else if (const int* number = std::get_if<int>(&cell)) {
      value->vt = VT_I4;
      value->lVal = *number;
    } else {
      value->vt = VT_NULL;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_AbsolutePosition(ado::LongPtr*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AbsolutePosition(ado::LongPtr) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putref_ActiveConnection(IDispatch*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_ActiveConnection(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ActiveConnection(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Bookmark(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Bookmark(VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_CacheSize(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_CacheSize(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_CursorType(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_CursorType(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LockType(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_LockType(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MaxRecords(ado::LongPtr*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_MaxRecords(ado::LongPtr) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RecordCount(ado::LongPtr*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putref_Source(IDispatch*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Source(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Source(VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddNew(VARIANT, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CancelUpdate() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Delete(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRows(LONG, VARIANT, VARIANT, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Move(ado::LongPtr, VARIANT) override { return E_NOTIMPL; }

 private:
  bool AtEnd() const { return row_ >= Connection().Rows().size(); }
  HRESULT CurrentRowState() const {
    if (!open_) {
      return ado::kErrObjectClosed;
    }
    return AtEnd() ? ado::kErrNoCurrentRecord : S_OK;
  }

  ComPtr<FakeConnectionObject> connection_;
  LiveChild live_;
  std::size_t row_ = 0;
  bool open_ = true;
};

class Field final : public AdoObject<Field, ado::Field> {
 public:
  Field(Recordset& rows, std::size_t column)
      : rows_(&rows), live_(rows.Connection().ChildTally()), column_(column) {}

  HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) override {
    return value ? rows_->Value(column_, value) : E_POINTER;
  }

  HRESULT STDMETHODCALLTYPE get_ActualSize(ado::LongPtr*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Attributes(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_DefinedSize(ado::LongPtr*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Type(LONG*) override { return E_NOTIMPL; }

 private:
  ComPtr<Recordset> rows_;
  LiveChild live_;
  std::size_t column_;
};

bool SameColumnName(BSTR a, BSTR b) {
  return CompareStringOrdinal(a, static_cast<int>(SysStringLen(a)), b,
                              static_cast<int>(SysStringLen(b)), TRUE) == CSTR_EQUAL;
}

class Fields final : public ComObject<Fields, ado::Fields> {
 public:
  explicit Fields(Recordset& rows) : rows_(&rows), live_(rows.Connection().ChildTally()) {}

  HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, ado::Field** field) override {
    if (!field) {
      return E_POINTER;
    }
    *field = nullptr;
    if (index.vt != VT_BSTR) {
      return E_INVALIDARG;
    }
    const auto& columns = rows_->Connection().Columns();
    for (std::size_t column = 0; column < columns.size(); ++column) {
      if (SameColumnName(columns[column].get(), index.bstrVal)) {
        *field = new Field(*rows_.Get(), column);
        return S_OK;
      }
    }
    return ado::kErrItemNotFound;
  }

  HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }

 private:
  ComPtr<Recordset> rows_;
  LiveChild live_;
};

HRESULT STDMETHODCALLTYPE Recordset::get_Fields(ado::Fields** fields) {
  if (!fields) {
    return E_POINTER;
  }
  *fields = new Fields(*this);
  return S_OK;
}

}  // namespace

HRESULT STDMETHODCALLTYPE FakeConnectionObject::Execute(BSTR commandText, VARIANT*, LONG options,
                                                        ado::Recordset** rows) {
  if (!rows) {
    return E_POINTER;
  }
  *rows = nullptr;
  executed_.push_back({platform::AnsiText(commandText), options});
  if (failure_) {
    if (!failure_->description.empty()) {
      SetErrorDescription(failure_->description);
    }
    return failure_->code;
  }
  *rows = new Recordset(*this);
  return S_OK;
}

FakeAdoConnection::FakeAdoConnection(std::vector<std::string> columns, std::vector<FakeRow> rows)
    : connection_(new FakeConnectionObject(std::move(columns), std::move(rows))) {}

FakeAdoConnection::~FakeAdoConnection() {
  connection_->Release();
}

std::uint32_t FakeAdoConnection::Handle() const {
  return static_cast<std::uint32_t>(
      reinterpret_cast<std::uintptr_t>(static_cast<ado::Connection*>(connection_)));
}

void FakeAdoConnection::ReplaceRows(std::vector<FakeRow> rows) {
  connection_->ReplaceRows(std::move(rows));
}

void FakeAdoConnection::FailExecute(std::optional<ExecuteFailure> failure) {
  connection_->FailExecute(std::move(failure));
}

const std::vector<ExecutedCommand>& FakeAdoConnection::Executed() const {
  return connection_->Executed();
}

ULONG FakeAdoConnection::References() const {
  return connection_->References();
}

int FakeAdoConnection::LiveChildren() const {
  return connection_->ChildTally();
}

}  // namespace orva::test
