// Table names that end in a letter beyond ASCII, as operators name their
// logs: Cyrillic, Greek and accented letters, in UTF-8 and in the single-byte
// code pages of those scripts, in each of the three quote forms and after a
// schema. Each says whether it still passes where the host's texts are in the
// Japanese double-byte code page (932), whose lead bytes are given here as
// that code page defines them.
#pragma once

#include <ostream>
#include <string>

namespace orva::test {

struct NameBeyondAscii {
  std::string name;
  // False where the byte before a closing quote opens a two-byte character.
  bool safeUnderShiftJis;
};

inline void PrintTo(const NameBeyondAscii& name, std::ostream* out) {
  *out << name.name;
}

inline bool IsShiftJisLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

inline const NameBeyondAscii kNamesBeyondAscii[] = {
    // UTF-8: most letters end in a byte that Shift-JIS reads as a letter of
    // its own, some in one of its lead bytes.
    {"[Мой Журнал]", true},
    {"\"Log été\"", true},
    {"`Ω`", true},
    {"main.[Ω]", true},
    {"[LOG-é]", true},
    {"\"Ελληνικά\"", true},
    {"main.`Журнал`", true},
    {"[Ж]", false},
    {"\"ω\"", false},
    {"[Ψ].[ц]", false},
    // Windows-1251 "Журнал", Windows-1253 "Ω", Windows-1252 "été" and "Café".
    {"[\xC6\xF3\xF0\xED\xE0\xEB]", false},
    {"\"\xD9\"", true},
    {"`\xE9t\xE9`", false},
    {"main.\"Caf\xE9\"", false},
    // Where a lead byte would swallow the closing quote, a doubled quote, or
    // the quote that ends a name which then runs on into a second statement.
    {"[L\x81]", false},
    {"\"L\x81\"", false},
    {"`L\x81`", false},
    {"\"\x81\"\"; DROP TABLE LOG; --\"", false},
    {"[\x81]].[x]", false},
};

}  // namespace orva::test
