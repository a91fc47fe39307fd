// The names of files as the host writes them: UTF-8 checked by the
// well-formedness table of the Unicode standard (no overlong forms, no
// surrogates, nothing above U+10FFFF), so that a name which only looks like
// UTF-8 in part is taken as Latin-1 whole.
#include "host/system/file_names.h"

#include "base/text.h"

namespace orva::host {
namespace {

bool IsContinuation(unsigned char byte, unsigned char lowest = 0x80, unsigned char highest = 0xBF) {
  return byte >= lowest && byte <= highest;
}

std::u32string Latin1(std::string_view name) {
  std::u32string characters;
  for (const char c : name) {
    characters += static_cast<unsigned char>(c);
  }
  return characters;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
  };
  const unsigned char lead = byte(0);
  if (at >= text.size() || lead < 0x80) {
    return at < text.size() ? 1 : 0;
  }
  // The range the second byte must fall in narrows after some leads.
  unsigned char low = 0x80, high = 0xBF;
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (!IsContinuation(byte(1), low, high)) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) {
      return 0;
    }
  }
  return length;
}

std::u32string NameCharacters(std::string_view name) {
  std::u32string characters;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = Utf8SequenceLength(name, at);
    if (length == 0) {
      return Latin1(name);
    }
    const auto lead = static_cast<unsigned char>(name[at]);
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      c = (c << 6) | (static_cast<unsigned char>(name[at + i]) & 0x3F);
    }
    characters += c;
    at += length;
  }
  return characters;
}

std::string PrintableName(std::string_view name) {
  std::string shown;
  for (const char c : name) {
    if (IsControl(c)) {
      shown += "\\x";
      AppendHex(shown, c);
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace orva::host
