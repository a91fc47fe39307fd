// The log query's column read, which words the failure the user sees when
// the host's log table lacks a column the recalculation needs.
#include "scoring/log_query.h"

#include "base/failure.h"

namespace orva {

std::string_view TLogQuery::FieldText(const std::string& column) {
  const std::optional<std::string_view> value = cursor_->FieldText(column);
  if (!value) {
    throw Failure(name_ + ": Field '" + column + "' not found");
  }
  return *value;
}

}  // namespace orva
