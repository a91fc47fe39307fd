// Letter case on Windows: the user's locale decides which letters are the
// same and how a letter is lowered. The hash is taken over the locale's sort
// key with the same flags, which equates texts exactly as the comparison does.
#include <windows.h>

#include <string>

#include "platform/text_compare.h"

namespace orva::platform {

namespace {
constexpr DWORD kFlags = NORM_IGNORECASE;

int Length(std::string_view text) {
  return static_cast<int>(text.size());
}
}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, kFlags, a.data(), Length(a), b.data(), Length(b)) ==
         CSTR_EQUAL;
}

std::size_t CaselessHash(std::string_view text) {
  if (text.empty()) {
    return 0;
  }
  const DWORD mapFlags = LCMAP_SORTKEY | kFlags;
  const int size =
      LCMapStringA(LOCALE_USER_DEFAULT, mapFlags, text.data(), Length(text), nullptr, 0);
  std::string key(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    LCMapStringA(LOCALE_USER_DEFAULT, mapFlags, text.data(), Length(text), key.data(), size);
  }
  return std::hash<std::string>()(key);
}

std::string LowerCase(std::string_view text) {
  std::string lowered(text);
  if (!lowered.empty()) {
    CharLowerBuffA(lowered.data(), static_cast<DWORD>(lowered.size()));
  }
  return lowered;
}

}  // namespace orva::platform
