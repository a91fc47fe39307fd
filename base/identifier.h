// What a bare (unquoted) name in a query text is made of: ASCII letters and
// digits, "_", "$", and every byte above 127, which is a letter of the host's
// code page or a piece of one. SQLite's tokenizer reads names so, and the
// other databases a host may use accept at least these, so that a name the
// recalculation's table-name check lets through ends where every database
// ends it.
#pragma once

namespace orva {

inline bool IsIdentifierByte(char c) {
  return static_cast<unsigned char>(c) > 127 || c == '_' || c == '$' || (c >= 'a' && c <= 'z') ||
         (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace orva
