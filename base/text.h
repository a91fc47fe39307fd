// The byte-string rules every part of the contest logic, the platform layers
// and the host share: trimming of control characters and spaces, ASCII-only
// upper-casing, the control-byte test, and the ways a text is shown where
// a control byte must not go (escaped in hexadecimal, escaped to stay on one
// line, or quoted for a message), and the UTF-8 byte order mark a text
// may start with. Texts are single-byte strings in no
// particular encoding, so only a message that asks for plain ASCII looks at
// bytes above 127.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orva {

inline bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// The C0 control codes and DEL: what would break a line, a file's record or
// a query text, or reach a terminal as a control sequence.
inline bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || byte == 127;
}

// ASCII only, whatever the locale: logs and the formats they come in are
// read byte by byte.
inline bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

inline bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
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

// Appends the byte as two upper-case hexadecimal digits: the body of an
// escape, whatever mark the format puts before it.
inline void AppendHex(std::string& out, char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  out += kDigits[byte >> 4];
  out += kDigits[byte & 15];
}

// Appends `text` with backslash written as "\\" and control characters
// (below 32, and 127) as "\xHH", so that one row stays one line: the host's
// explanation and the cells of its summary.
inline void AppendEscaped(std::string& line, std::string_view text) {
  for (const char c : text) {
    if (c == '\\') {
      line += "\\\\";
    } else if (IsControl(c)) {
      line += "\\x";
      AppendHex(line, c);
    } else {
      line += c;
    }
  }
}

// How many bytes AppendEscaped writes for `text`: a backslash doubled, a
// control character as four, so that a table of escaped cells lines up.
inline std::size_t EscapedSize(std::string_view text) {
  std::size_t size = text.size();
  for (const char c : text) {
    size += c == '\\' ? 1 : IsControl(c) ? 3 : 0;
  }
  return size;
}

// `text` after the UTF-8 byte order mark that some programs write before a
// file's first character, or all of it when it has none.
inline std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  return text.substr(0, kByteOrderMark.size()) == kByteOrderMark
             ? text.substr(kByteOrderMark.size())
             : text;
}

// How much of a text a message shows of it.
struct MessageQuote {
  std::size_t mostShown = std::string_view::npos;  // bytes shown; "..." marks a cut
  bool asciiOnly = false;  // bytes above 127 shown as '?' too: a file of unknown encoding
};

// `text` in single quotes for a message, every control byte shown as '?', so
// that a message never carries a control sequence to the terminal.
inline std::string QuotedForMessage(std::string_view text, MessageQuote quote = {}) {
  std::string quoted = "'";
  for (const char c : text.substr(0, quote.mostShown)) {
    const bool aboveAscii = static_cast<unsigned char>(c) > 127;
    quoted += IsControl(c) || (quote.asciiOnly && aboveAscii) ? '?' : c;
  }
  return quoted + (text.size() > quote.mostShown ? "...'" : "'");
}

}  // namespace orva
