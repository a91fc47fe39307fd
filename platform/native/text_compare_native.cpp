// Case-insensitive comparison on the native build: the C library's folding of
// single bytes under the current locale. Folding byte by byte makes equality
// of the folded texts the comparison itself.
#include <cctype>

#include "platform/text_compare.h"

namespace orva::platform {

std::string CaselessKey(std::string_view text) {
  std::string key(text);
  for (char& c : key) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return CaselessKey(a) == CaselessKey(b);
}

}  // namespace orva::platform
