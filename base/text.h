// The byte-string rules every part of the contest logic shares: trimming of
// control characters and spaces, and ASCII-only upper-casing. Texts are
// single-byte strings in no particular encoding, so nothing here looks at
// bytes above 127.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orva {

inline bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

inline char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline void UpperAsciiInPlace(char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    data[i] = UpperAscii(data[i]);
  }
}

inline std::string UpperAscii(std::string_view text) {
  std::string result(text);
  UpperAsciiInPlace(result.data(), result.size());
  return result;
}

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace orva
