// The text helpers both log-file readers share, and the time order of
// their QSOs.
#include "import/imported_log.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

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
  return WithoutByteOrderMark(bytes);
}

void PutInTimeOrder(std::vector<ImportedQso>& qsos) {
  std::vector<std::pair<Moment, std::size_t>> order;
  order.reserve(qsos.size());
  for (std::size_t i = 0; i < qsos.size(); ++i) {
    order.emplace_back(qsos[i].when.OrderKey(), i);
  }
  // Most exports list the oldest QSO first: nothing to move then.
  const auto byTime = [](const auto& a, const auto& b) { return a.first < b.first; };
  if (std::is_sorted(order.begin(), order.end(), byTime)) {
    return;
  }
  std::stable_sort(order.begin(), order.end(), byTime);
  // Each QSO moves to its place along the cycles of the order, so that a
  // large log is never held twice.
  for (std::size_t start = 0; start < qsos.size(); ++start) {
    if (order[start].second == start) {
      continue;
    }
    ImportedQso held = std::move(qsos[start]);
    std::size_t to = start;
    for (std::size_t from = order[to].second; from != start; from = order[to].second) {
      qsos[to] = std::move(qsos[from]);
      order[to].second = to;
      to = from;
    }
    qsos[to] = std::move(held);
    order[to].second = to;
  }
}

void AppendExchangeField(std::string& exchange, std::string_view field) {
  if (!exchange.empty()) {
    exchange += ' ';
  }
  exchange += field;
}

std::string Quoted(std::string_view text) {
  return QuotedForMessage(text, {.mostShown = 40, .asciiOnly = true});
}

}  // namespace orva::import
