// The summary as one JSON document, {"logs": [...], "comparison": {...}},
// for score-reporting sites and scripts; the page carries its chart data in
// the same notation.
//
// Texts of a log are bytes of the logging program's single-byte code page,
// not necessarily UTF-8, and JSON text is Unicode: every byte from 0x80 up is
// written as \u00XX, the Latin-1 character of that number, so the document
// is plain ASCII, valid whatever the bytes, and says exactly which bytes the
// log held. Control bytes, '"' and '\' are escaped as JSON requires, and '<',
// '>' and '&' as \u003c, \u003e and \u0026, so that the text may stand in a
// page's script as it is. The name of a log's file is the system's text, not
// the log's, and is written as its characters (AppendJsonName).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

// Appends `text` as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view text);

// Appends the name of a file as a JSON string of its characters
// (file_names.h), those beyond ASCII as \uXXXX (two of them, a surrogate
// pair, beyond U+FFFF), so that a reader of the document gets the name the
// system shows; ASCII as AppendJsonString writes it.
void AppendJsonName(std::string& out, std::string_view name);

// `comparison` appears for two or more logs only.
std::string SummaryJson(const std::vector<LogSummary>& logs, const Comparison& comparison);

}  // namespace orva::host
