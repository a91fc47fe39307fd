// A score explained QSO by QSO: the log's rows in the order the plug-in's
// recalculation scores them, each with the reference its rules found, the
// points and the multiplier it added. The scoring code is the plug-in's own,
// run here on the same rows, so the explanation cannot drift from the score.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace orva::host {

// The header line of the explanation, tab-separated.
inline constexpr std::string_view kExplainHeader =
    "callsign\tband\tmode\texchange\treference\tpoints\tmultiplier";

// Appends `text` with backslash written as "\\" and control characters
// (below 32, and 127) as "\xHH", so that one row stays one line.
void AppendEscaped(std::string& line, std::string_view text);

// Writes the header and one line per row of the table in `connection` (an
// open native log handle) to `out`. False, with the reason on standard
// error, when the recalculation failed; the rows scored before stand.
bool Explain(std::uint32_t connection, const std::string& table, std::FILE* out);

}  // namespace orva::host
