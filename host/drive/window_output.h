// What the plug-in's window shows, printed as the host prints it on every
// system: the report one line each, and an error box as one line, so that
// orva-host.exe, which draws no window, prints exactly what the native host
// prints of the plug-in's.
#pragma once

#include <ostream>
#include <string_view>

namespace orva::host {

// The memo's text, one line each. The memo joins its lines by CR LF, as a
// Windows edit control takes them; each is written ended by "\n" alone, so
// that the stream ends it as its system ends text and both hosts print the
// same report.
void PrintReport(std::string_view memoText, std::ostream& out);

// "error-box CAPTION: TEXT" and the line's end.
void PrintErrorBox(std::string_view caption, std::string_view text, std::ostream& out);

}  // namespace orva::host
