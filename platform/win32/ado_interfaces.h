// The few ADO interfaces the log query calls, declared as vtable prefixes.
//
// A COM caller depends only on the interface identity and on the slots it
// calls, so each interface lists its methods in ADO's own vtable order up to
// the last one the plug-in uses; the slots in between are declared with
// their real signatures so that every method the plug-in calls sits where
// ADO puts it. The system's adoint.h does not compile as C++ here (it has
// declarations that declare nothing), and its current version names the
// connection interface by an identity that not every ADO answers; the one
// below is answered by Windows' ADO and by Wine's. A connection object that a
// test or host supplies implements these same declarations.
#pragma once

#include <windows.h>

#include <oleauto.h>

namespace orva::platform::ado {

// Pointer-sized counts and positions; ADO enumerations are passed as LONG.
using LongPtr = LONG_PTR;

inline constexpr LONG kCmdText = 1;  // adCmdText: the command is a query text
inline constexpr HRESULT kErrItemNotFound = static_cast<HRESULT>(0x800A0CC1);
inline constexpr HRESULT kErrNoCurrentRecord = static_cast<HRESULT>(0x800A0BCD);
inline constexpr HRESULT kErrObjectClosed = static_cast<HRESULT>(0x800A0E78);

struct Recordset;
struct Fields;
struct Field;

// _ADO: every ADO object has a Properties collection; never used here.
struct Object : IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Properties(IDispatch** properties) = 0;
};

// _Connection, up to Execute.
struct Connection : Object {
  static constexpr IID kIid = {
      0x00000550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

  virtual HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionString(BSTR text) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CommandTimeout(LONG* seconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_CommandTimeout(LONG seconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectionTimeout(LONG* seconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionTimeout(LONG seconds) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Version(BSTR* version) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE Execute(BSTR commandText, VARIANT* recordsAffected,
                                            LONG options, Recordset** rows) = 0;
};

// _Recordset, up to MoveNext.
struct Recordset : Object {
  static constexpr IID kIid = {
      0x00000556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

  virtual HRESULT STDMETHODCALLTYPE get_AbsolutePosition(LongPtr* position) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AbsolutePosition(LongPtr position) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_ActiveConnection(IDispatch* connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ActiveConnection(VARIANT connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ActiveConnection(VARIANT* connection) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BOF(VARIANT_BOOL* atStart) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Bookmark(VARIANT* bookmark) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Bookmark(VARIANT bookmark) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CacheSize(LONG* rows) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_CacheSize(LONG rows) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CursorType(LONG* cursorType) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_CursorType(LONG cursorType) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_EOF(VARIANT_BOOL* atEnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Fields(Fields** fields) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LockType(LONG* lockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_LockType(LONG lockType) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MaxRecords(LongPtr* rows) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MaxRecords(LongPtr rows) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RecordCount(LongPtr* rows) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_Source(IDispatch* command) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Source(BSTR source) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Source(VARIANT* source) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddNew(VARIANT fieldList, VARIANT values) = 0;
  virtual HRESULT STDMETHODCALLTYPE CancelUpdate() = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE Delete(LONG affectRecords) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRows(LONG rows, VARIANT start, VARIANT fields,
                                            VARIANT* values) = 0;
  virtual HRESULT STDMETHODCALLTYPE Move(LongPtr rows, VARIANT start) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveNext() = 0;
};

// Fields, up to Item.
struct Fields : IDispatch {
  static constexpr IID kIid = {
      0x00000564, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

  virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** enumerator) = 0;
  virtual HRESULT STDMETHODCALLTYPE Refresh() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, Field** field) = 0;
};

// Field, up to Value.
struct Field : Object {
  static constexpr IID kIid = {
      0x00000569, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

  virtual HRESULT STDMETHODCALLTYPE get_ActualSize(LongPtr* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Attributes(LONG* attributes) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DefinedSize(LongPtr* size) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Type(LONG* dataType) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) = 0;
};

}  // namespace orva::platform::ado
