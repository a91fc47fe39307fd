// The words of the error box in which the plug-in reports a failure: the
// message, finished with a full stop, under the application's title. Kept
// apart from the box itself, so that a tool without a window (orva-host.exe)
// prints exactly what the box would show.
#pragma once

#include <string>
#include <string_view>

namespace orva {

// What the box says of a failure that carries no message of its own.
inline constexpr std::string_view kUnexpectedFailure = "Unexpected failure";

// The message with "." appended when its last character sorts above ".".
std::string ErrorBoxText(std::string_view message);

// The host executable's file name without directory, cut at its first ".",
// with every letter after the first in lower case under the user's locale.
std::string ApplicationTitle(std::string_view executablePath);

}  // namespace orva
