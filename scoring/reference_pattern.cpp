// The reference matcher: the two places a reference can start, checked
// directly instead of through a regular-expression engine for every QSO.
#include "scoring/reference_pattern.h"

#include <algorithm>

namespace orva {

bool TReferencePattern::AllInClass(std::string_view text) {
  return std::all_of(text.begin(), text.end(), InClass);
}

std::optional<std::string_view> TReferencePattern::Find(std::string_view text) const {
  for (std::size_t length : {6u, 5u}) {
    if (text.size() >= length && AllInClass(text.substr(text.size() - length))) {
      return text.substr(text.size() - length);
    }
  }
  return std::nullopt;
}

}  // namespace orva
