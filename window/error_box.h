// The error box in which the plug-in reports failures to the operator: the
// message, finished with a full stop, under the application's title.
#pragma once

#include <string>
#include <string_view>

namespace orva {

// The message with "." appended when its last character sorts above ".".
std::string ErrorBoxText(std::string_view message);

// The host executable's file name without directory, cut at its first ".",
// with every letter after the first in lower case under the user's locale.
std::string ApplicationTitle(std::string_view executablePath);

// Shows `message` in the error box; returns when the user has closed it.
void ShowErrorMessage(std::string_view message);

}  // namespace orva
