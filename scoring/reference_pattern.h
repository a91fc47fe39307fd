// The contest's reference pattern: up to six characters of hyphen, A-Z, 0-9
// and plus at the very end of the received exchange ("[-A-Z0-9+]{5,6}$",
// first match from the left).
//
// A leftmost search for a greedy five-or-six run anchored at the end can only
// start six or five characters before the end, so the matcher looks at those
// two places directly instead of running a regular-expression engine for
// every QSO. A test proves it equal to std::regex on random and hostile text.
#pragma once

#include <optional>
#include <string_view>

namespace orva {

class TReferencePattern {
 public:
  static constexpr std::string_view kPattern = "[-A-Z0-9+]{5,6}$";

  // The matched reference inside `text`, or none.
  std::optional<std::string_view> Find(std::string_view text) const;

 private:
  static bool InClass(char c) {
    return c == '-' || c == '+' || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  }
  static bool AllInClass(std::string_view text);
};

}  // namespace orva
