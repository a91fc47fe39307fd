// The summary as one JSON document, {"logs": [...], "comparison": {...}},
// for score-reporting sites and scripts; the page carries its chart data in
// the same notation. Both are written by nlohmann's JSON library (Debian's
// nlohmann-json3-dev), through the few functions here.
//
// Texts of a log are bytes of the logging program's single-byte code page,
// not necessarily UTF-8, and JSON text is Unicode: each byte is handed to the
// library as the Latin-1 character of its number (JsonLogText), and the
// library writes every character beyond ASCII as \uXXXX, so the document is
// plain ASCII, valid whatever the bytes, and says exactly which bytes the
// log held. Control characters, '"' and '\' are escaped as JSON requires, and
// '<', '>' and '&' as \u003c, \u003e and \u0026, so that the text may stand
// in a page's script as it is. The name of a log's file is the system's
// text, not the log's, and is handed over as its characters (JsonFileName).
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "host/summary/summary.h"

namespace orva::host {

// Objects keep their members in the order written: the document's order.
using Json = nlohmann::ordered_json;

// A log's text as a JSON string: each byte the Latin-1 character of its
// number.
Json JsonLogText(std::string_view text);

// The name of a file as a JSON string of its characters (file_names.h), so
// that a reader of the document gets the name the system shows.
Json JsonFileName(std::string_view name);

enum class JsonSpacing {
  kCompact,  // {"a":1,"b":[2,3]}: the page's data
  kSpaced,   // {"a": 1, "b": [2, 3]}: an entry of the document
};

// Appends `value` on one line as the library writes it, every character
// beyond ASCII as \uXXXX, with '<', '>' and '&' escaped as above and every
// control character as \u00XX, as the document has always written them
// (where the library would write five of them as \b, \t, \n, \f and \r).
void AppendJson(std::string& out, const Json& value, JsonSpacing spacing);

// `comparison` appears for two or more logs only.
std::string SummaryJson(const std::vector<LogSummary>& logs, const Comparison& comparison);

}  // namespace orva::host
