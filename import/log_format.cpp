// The marks each kind of log file carries near its start.
#include "import/log_format.h"

#include "base/text.h"

namespace orva::import {
namespace {

using namespace std::string_view_literals;

bool StartsWithIgnoringCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && EqualIgnoringAsciiCase(text.substr(0, start.size()), start);
}

bool HoldsAdifTag(std::string_view text) {
  for (std::size_t open = text.find('<'); open != std::string_view::npos;
       open = text.find('<', open + 1)) {
    const std::string_view tag = text.substr(open);
    if (StartsWithIgnoringCase(tag, "<EOH>") || StartsWithIgnoringCase(tag, "<EOR>")) {
      return true;
    }
  }
  return false;
}

}  // namespace

LogFormat FormatOfContent(std::string_view head) {
  if (head.substr(0, 16) == "SQLite format 3\0"sv) {
    return LogFormat::kSqlite;
  }
  head = WithoutByteOrderMark(head);
  if (StartsWithIgnoringCase(Trim(head), "START-OF-LOG:")) {
    return LogFormat::kCabrillo;
  }
  return HoldsAdifTag(head) ? LogFormat::kAdif : LogFormat::kUnknown;
}

}  // namespace orva::import
