// The ADO layer over the test's own connection object: stepping, reading
// values of every type as text, and the texts of the provider's failures.
#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "platform/database.h"
#include "tests/win32/fake_ado.h"

namespace orva {
namespace {

using Microsoft::WRL::ComPtr;
using test::ExecuteFailure;
using test::FakeAdoConnection;
using test::FakeValue;

// The host initializes COM on its thread before it hands a connection over.
class AdoLogCursorTest : public testing::Test {
 protected:
  AdoLogCursorTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~AdoLogCursorTest() override { CoUninitialize(); }
};

template <typename Call>
std::string FailureText(const Call& call) {
  try {
    call();
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "(no failure)";
}

ULONG ReferencesOf(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

const std::string kQuery = "Select * from Log order by CallSign";

TEST_F(AdoLogCursorTest, StepsThroughTheRowsInOrderAndStopsAtTheEnd) {
  FakeAdoConnection connection({"CallSign", "DigiBand"},
                               {{"DL1ABC", "20M"}, {"F5XYZ", "40M"}, {"G4AAA", "20M"}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  cursor->Open(kQuery);
  std::vector<std::string> read;
  for (; !cursor->Eof(); cursor->Next()) {
    std::string call(cursor->FieldText("CallSign").value());
    read.push_back(call + "/" + std::string(cursor->FieldText("DigiBand").value()));
  }
  EXPECT_EQ(read, (std::vector<std::string>{"DL1ABC/20M", "F5XYZ/40M", "G4AAA/20M"}));
  ASSERT_EQ(connection.Executed().size(), 1u);
  EXPECT_EQ(connection.Executed()[0].text, kQuery);
  EXPECT_EQ(connection.Executed()[0].options, 1);  // a query text, not a table name
  EXPECT_EQ(FailureText([&] { cursor->Next(); }), "0x800A0BCD");
}

struct ValueCase {
  FakeValue value;
  std::string text;
};

class AdoFieldText : public AdoLogCursorTest, public testing::WithParamInterface<ValueCase> {};

TEST_P(AdoFieldText, ReadsTheValueAsText) {
  FakeAdoConnection connection({"QSOReportRecived"}, {{GetParam().value}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  cursor->Open(kQuery);
  EXPECT_EQ(cursor->FieldText("QSOReportRecived"), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, AdoFieldText,
                         testing::Values(ValueCase{"EU-005", "EU-005"}, ValueCase{"", ""},
                                         ValueCase{nullptr, ""}, ValueCase{12345, "12345"},
                                         ValueCase{-7, "-7"}, ValueCase{0, "0"},
                                         ValueCase{"Gr\xFC\xDF \xC4\xE9", "Gr\xFC\xDF \xC4\xE9"},
                                         ValueCase{std::string("A\0B", 3), std::string("A\0B", 3)}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(AdoLogCursorTest, AMissingColumnHasNoValueAndLeavesTheRowReadable) {
  FakeAdoConnection connection({"CallSign"}, {{"DL1ABC"}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  cursor->Open(kQuery);
  EXPECT_EQ(cursor->FieldText("ITUZone"), std::nullopt);
  EXPECT_EQ(cursor->FieldText("CallSign"), "DL1ABC");
}

TEST_F(AdoLogCursorTest, QueryTextsAboveAsciiReachTheDatabaseUnchanged) {
  FakeAdoConnection connection({"CallSign"}, {});
  auto cursor = platform::BindLogCursor(connection.Handle());
  const std::string query = "Select * from Logb\xFC\x63h order by CallSign";
  cursor->Open(query);
  EXPECT_TRUE(cursor->Eof());
  ASSERT_EQ(connection.Executed().size(), 1u);
  EXPECT_EQ(connection.Executed()[0].text, query);
}

TEST_F(AdoLogCursorTest, ATableInCallsignOrderIsAskedForInTheHostsOwnQueryText) {
  FakeAdoConnection connection({"CallSign"}, {{"DL1ABC"}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  cursor->OpenInCallsignOrder("Select * from Logb\xFC\x63h");
  EXPECT_EQ(cursor->FieldText("CallSign"), "DL1ABC");
  ASSERT_EQ(connection.Executed().size(), 1u);
  EXPECT_EQ(connection.Executed()[0].text, "Select * from Logb\xFC\x63h order by CallSign");
  EXPECT_EQ(connection.Executed()[0].options, 1);
}

struct ExecuteFailureCase {
  ExecuteFailure failure;
  std::string message;
};

class AdoExecuteFailure : public AdoLogCursorTest,
                          public testing::WithParamInterface<ExecuteFailureCase> {};

TEST_P(AdoExecuteFailure, CarriesTheProvidersTextOrTheHresultAndLeavesTheQueryClosed) {
  FakeAdoConnection connection({"CallSign"}, {{"DL1ABC"}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  connection.FailExecute(GetParam().failure);
  EXPECT_EQ(FailureText([&] { cursor->Open(kQuery); }), GetParam().message);
  EXPECT_FALSE(cursor->IsOpen());
  EXPECT_TRUE(cursor->Eof());

  connection.FailExecute(std::nullopt);
  cursor->Open(kQuery);
  EXPECT_EQ(cursor->FieldText("CallSign"), "DL1ABC");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AdoExecuteFailure,
    testing::Values(ExecuteFailureCase{{E_FAIL, "The table 'Log' does not exist."},
                                       "The table 'Log' does not exist."},
                    ExecuteFailureCase{{E_FAIL, "Tabelle 'L\xF6g' fehlt"},
                                       "Tabelle 'L\xF6g' fehlt"},
                    ExecuteFailureCase{{static_cast<HRESULT>(0x80040E37), ""}, "0x80040E37"},
                    ExecuteFailureCase{{E_UNEXPECTED, ""}, "0x8000FFFF"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(AdoLogCursorTest, AFailureWithoutDescriptionNeverShowsAnOlderOne) {
  FakeAdoConnection connection({"CallSign"}, {});
  auto cursor = platform::BindLogCursor(connection.Handle());
  ComPtr<ICreateErrorInfo> created;
  ComPtr<IErrorInfo> stale;
  ASSERT_EQ(CreateErrorInfo(created.GetAddressOf()), S_OK);
  ASSERT_EQ(created.As(&stale), S_OK);
  wchar_t staleText[] = L"left over from an earlier failure";
  created->SetDescription(staleText);
  SetErrorInfo(0, stale.Get());

  connection.FailExecute(ExecuteFailure{E_FAIL, ""});
  EXPECT_EQ(FailureText([&] { cursor->Open(kQuery); }), "0x80004005");
}

TEST_F(AdoLogCursorTest, WithoutAConnectionOpeningFailsAndTheQueryStaysClosed) {
  auto cursor = platform::BindLogCursor(0);
  EXPECT_EQ(FailureText([&] { cursor->Open(kQuery); }), "Missing Connection or ConnectionString");
  EXPECT_FALSE(cursor->IsOpen());
  EXPECT_TRUE(cursor->Eof());
  cursor->Close();
}

TEST_F(AdoLogCursorTest, AnObjectThatIsNoConnectionFailsAtBindingAndKeepsItsCount) {
  ComPtr<ICreateErrorInfo> notAConnection;
  ASSERT_EQ(CreateErrorInfo(notAConnection.GetAddressOf()), S_OK);
  const ULONG before = ReferencesOf(notAConnection.Get());
  const auto handle =
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(notAConnection.Get()));
  EXPECT_EQ(FailureText([&] { platform::BindLogCursor(handle); }),
            "The host's database connection is not an ADO connection (0x80004002)");
  EXPECT_EQ(ReferencesOf(notAConnection.Get()), before);
}

TEST_F(AdoLogCursorTest, ACursorGivesBackEveryReferenceItTook) {
  FakeAdoConnection connection({"CallSign"}, {{"DL1ABC"}, {"F5XYZ"}});
  const ULONG before = connection.References();
  {
    auto cursor = platform::BindLogCursor(connection.Handle());
    EXPECT_EQ(connection.References(), before + 1);
    cursor->Open(kQuery);
    EXPECT_EQ(cursor->FieldText("CallSign"), "DL1ABC");
    cursor->Close();
    EXPECT_EQ(connection.LiveChildren(), 0);

    cursor->Open(kQuery);
    cursor->Open(kQuery);  // reopening closes the rows opened before
    EXPECT_EQ(cursor->FieldText("CallSign"), "DL1ABC");
    cursor->Next();
    EXPECT_EQ(cursor->FieldText("Missing"), std::nullopt);
    EXPECT_EQ(cursor->FieldText("CallSign"), "F5XYZ");
    EXPECT_EQ(connection.LiveChildren(), 2);  // one recordset, one field collection
  }
  EXPECT_EQ(connection.LiveChildren(), 0);
  EXPECT_EQ(connection.References(), before);
}

TEST_F(AdoLogCursorTest, AClosedQueryHasNoRowToReadOrStepFrom) {
  FakeAdoConnection connection({"CallSign"}, {{"DL1ABC"}});
  auto cursor = platform::BindLogCursor(connection.Handle());
  cursor->Open(kQuery);
  cursor->Close();
  cursor->Close();
  EXPECT_TRUE(cursor->Eof());
  EXPECT_EQ(FailureText([&] { cursor->Next(); }), "The log query is not open");
  EXPECT_EQ(FailureText([&] { cursor->FieldText("CallSign"); }), "The log query is not open");
}

}  // namespace
}  // namespace orva
