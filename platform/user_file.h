// Replacing a file that the user named (a page, a reference file) whole: the
// new bytes are written beside it, flushed to the disk and put in its place in
// one step, so that the old file stands until the new one is complete and a
// failure at any step leaves it as it was. One file per build does it
// (platform/native/user_file_native.cpp, platform/win32/user_file_win32.cpp),
// each making its system calls through its layer's table (system_calls.h), so
// that tests can fail every step; the host's tools name the file by the path
// the system opens it by, whatever code page the user's words came in.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orva::platform {

// Replaces the file at `path` whole with `bytes`; a new file gets the
// permissions a new file of the user's gets. Empty when done, else the
// system's reason, and the old file then stands as it was.
std::string ReplaceUserFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace orva::platform
