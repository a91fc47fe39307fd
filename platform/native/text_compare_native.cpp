// Letter case on the native build: the C library's folding of single bytes
// under the current locale, which a host sets from its environment. Folding
// byte by byte makes equality of the folded texts the comparison itself, and
// lowering the same folding written out.
//
// Multiplier keys are hashed and compared on every scored QSO, so each call
// reads the locale's folding table once rather than calling the library for
// every byte; where the library does not expose its table, it folds through
// tolower as before.
#include <cctype>
#include <cstdint>

#include "platform/text_compare.h"

namespace orva::platform {

namespace {

class ByteFolding {
 public:
#ifdef __GLIBC__
  ByteFolding() : table_(*__ctype_tolower_loc()) {}
  unsigned char operator()(char c) const {
    return static_cast<unsigned char>(table_[static_cast<unsigned char>(c)]);
  }

 private:
  const std::int32_t* table_;
#else
  unsigned char operator()(char c) const {
    return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
  }
#endif
};

}  // namespace

std::size_t CaselessHash(std::string_view text) {
  // FNV-1a over the folded bytes.
  const ByteFolding folded;
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash = (hash ^ folded(c)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  const ByteFolding folded;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (folded(a[i]) != folded(b[i])) {
      return false;
    }
  }
  return true;
}

std::string LowerCase(std::string_view text) {
  const ByteFolding folded;
  std::string lowered(text);
  for (char& c : lowered) {
    c = static_cast<char>(folded(c));
  }
  return lowered;
}

}  // namespace orva::platform
