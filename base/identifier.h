// What a bare (unquoted) name in a query text is made of: ASCII letters and
// digits, "_", "$", and every byte above 127, which is a letter of the host's
// code page or a piece of one. SQLite's tokenizer reads names so, and the
// other databases a host may use accept at least these, so that a name the
// recalculation's table-name check lets through ends where every database
// ends it. And the narrower plain names, which need no quotes anywhere.
#pragma once

#include <algorithm>
#include <string_view>

namespace orva {

inline bool IsIdentifierByte(char c) {
  return static_cast<unsigned char>(c) > 127 || c == '_' || c == '$' || (c >= 'a' && c <= 'z') ||
         (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A name every database reads alike as it stands, so that a table created
// with it is the table a query naming it reads: identifier bytes of plain
// ASCII, without "$" (which not every database takes), not starting with a
// digit. A bare table name of one part, which the recalculation's check
// always lets through.
inline bool IsPlainName(std::string_view name) {
  const auto plain = [](char c) {
    return IsIdentifierByte(c) && c != '$' && static_cast<unsigned char>(c) <= 127;
  };
  return !name.empty() && !(name.front() >= '0' && name.front() <= '9') &&
         std::all_of(name.begin(), name.end(), plain);
}

}  // namespace orva
