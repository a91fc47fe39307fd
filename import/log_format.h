// Which kind of log a file holds, told by its content: for a log given
// without saying its kind (a file dropped on the program), and for the hint
// that names the right option when a log was given as another kind.
#pragma once

#include <cstddef>
#include <string_view>

namespace orva::import {

enum class LogFormat { kSqlite, kAdif, kCabrillo, kUnknown };

// How many bytes from the start of a file tell its kind.
inline constexpr std::size_t kFormatHeadSize = 1 << 16;

// The kind of log whose file starts with `head`: SQLite's file header, a
// Cabrillo log's START-OF-LOG: on its first line, or an ADIF file's <EOH> or
// <EOR> tag in any letter case.
LogFormat FormatOfContent(std::string_view head);

}  // namespace orva::import
