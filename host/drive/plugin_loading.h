// What the command line must know of how this system drives the plug-in,
// answered by the driver of each system (drive_log_native.cpp,
// drive_log_win32.cpp) beside the code it describes: the command line sits
// above the driver and offers only the options the driver can honour.
#pragma once

#include <string_view>

namespace orva::host {

// Whether the host loads the plug-in, and so has its command mode (-c,
// commands on standard input) and the options that set it up (--plugin,
// --reference, --caption).
bool LoadsPlugin();

// What the help says after the options.
std::string_view HelpFooter();

}  // namespace orva::host
