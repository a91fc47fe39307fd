// The window's query object over the host's log: the operations the
// recalculation needs, with the messages the user sees when they fail. The
// rows come from whichever database layer the build links.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/database.h"

namespace orva {

class TLogQuery {
 public:
  TLogQuery(std::string name, std::unique_ptr<platform::LogCursor> cursor)
      : name_(std::move(name)), cursor_(std::move(cursor)) {}

  void Close() { cursor_->Close(); }
  void SetText(std::string text) { text_ = std::move(text); }
  void Open() { cursor_->Open(text_); }
  // The text must read one whole table (see LogCursor::OpenInCallsignOrder).
  void OpenInCallsignOrder() { cursor_->OpenInCallsignOrder(text_); }
  bool IsOpen() const { return cursor_->IsOpen(); }
  bool Eof() const { return cursor_->Eof(); }
  void Next() { cursor_->Next(); }
  // Raises "<name>: Field '<column>' not found" when the row has no such column.
  // The text stays valid until the next call on the query.
  std::string_view FieldText(const std::string& column);

 private:
  std::string name_;
  std::string text_;
  std::unique_ptr<platform::LogCursor> cursor_;
};

}  // namespace orva
