// How the host's tools write the name of a file they were given. A file's
// name is the system's, not the log's: the native tool gets it as the bytes
// the shell passed, which are UTF-8 on any system of today, and orva-host.exe
// as the wide name, which it carries as UTF-8 (console.h, NameOfFile). The
// text summary and messages write those bytes as they are; the JSON document
// and the page, which are plain ASCII, write the name's characters as
// escapes. A native name that is no UTF-8 (a file named on an old Latin-1
// system) is taken as Latin-1, each byte its own character: the name then
// reads as it was meant on such a system, and no two names look alike.
//
// A log's own texts (callsigns, exchanges) are another matter: they are bytes
// of the logging program's single-byte code page, and written as bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orva::host {

// How standard input ("-" on the command line) is named.
inline constexpr char kStandardInputName[] = "standard input";

// The length of the well-formed UTF-8 sequence that starts at `at` (1 for
// an ASCII byte), or 0 when none does there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// The characters of a file's name: its UTF-8 when the whole name is
// well-formed UTF-8, else each byte as the Latin-1 character of its number.
std::u32string NameCharacters(std::string_view name);

// A name as a line of text shows it: as written, backslashes and all, only
// control characters (a line end in a native file name) as "\xHH", so that
// the name stays on its line.
std::string PrintableName(std::string_view name);

}  // namespace orva::host
