// Case-insensitive comparison on the native build: the C library's folding of
// single bytes under the current locale. Folding byte by byte makes equality
// of the folded texts the comparison itself.
#include <cctype>
#include <cstdint>

#include "platform/text_compare.h"

namespace orva::platform {

namespace {
unsigned char Folded(char c) {
  return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}
}  // namespace

std::size_t CaselessHash(std::string_view text) {
  // FNV-1a over the folded bytes.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash = (hash ^ Folded(c)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace orva::platform
