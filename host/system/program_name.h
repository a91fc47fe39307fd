// The name of the program a user runs, as the pages and texts it writes name
// it when they send the reader to it: the build's own executable, orva-host
// natively and orva-host.exe on Windows. The build passes it in
// (host/CMakeLists.txt), so that the tools' code names no system.
#pragma once

namespace orva::host {

inline constexpr char kProgramName[] = ORVA_PROGRAM_NAME;

}  // namespace orva::host
