// The text helpers both log-file readers share.
#include "import/imported_log.h"

namespace orva::import {
namespace {

std::string WideEncodingProblem(std::string_view bytes) {
  const auto startsWith = [bytes](std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
  };
  using namespace std::string_view_literals;
  if (startsWith("\xFF\xFE\0\0"sv) || startsWith("\0\0\xFE\xFF"sv)) {
    return "the file is UTF-32 text; save it as 8-bit (ASCII, Latin-1 or UTF-8) text";
  }
  // Without a byte order mark, UTF-16 shows as a zero byte beside the first
  // character, which no 8-bit log file starts with.
  if (startsWith("\xFF\xFE"sv) || startsWith("\xFE\xFF"sv) ||
      (bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0'))) {
    return "the file is UTF-16 text; save it as 8-bit (ASCII, Latin-1 or UTF-8) text";
  }
  return {};
}

}  // namespace

std::optional<std::string_view> EightBitText(std::string_view bytes, ImportedLog& log) {
  log.unreadable = WideEncodingProblem(bytes);
  if (!log.unreadable.empty()) {
    return std::nullopt;
  }
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  return bytes.substr(0, kMark.size()) == kMark ? bytes.substr(kMark.size()) : bytes;
}

void AppendExchangeField(std::string& exchange, std::string_view field) {
  if (!exchange.empty()) {
    exchange += ' ';
  }
  exchange += field;
}

std::string Quoted(std::string_view text) {
  constexpr std::size_t kMostShown = 40;
  std::string quoted = "'";
  for (const char c : text.substr(0, kMostShown)) {
    quoted += c >= ' ' && c <= '~' ? c : '?';
  }
  return quoted + (text.size() > kMostShown ? "...'" : "'");
}

}  // namespace orva::import
