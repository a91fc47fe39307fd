// Facts about the host process and its file system that the contest logic
// needs: where the host executable lives (the reference file sits beside it
// and the settings are keyed by its name), the reference file a host may name
// instead, and reading a file whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orva::platform {

// Full path of the running host executable, never of the plug-in library.
std::string HostExecutablePath();

// The reference file a host named for the plug-in to read instead of the one
// beside the host executable; nothing when it named none, as a logging
// program never does (only a native host can name one).
std::optional<std::string> NamedReferenceFile();

// Characters that end a directory part of a path on this platform.
extern const std::string_view kPathDelimiters;
// Separator used when building a path below a directory.
extern const char kPathSeparator;

// True when a regular file (not a directory) exists at `path`.
bool IsExistingFile(const std::string& path);

// Reads the file as raw bytes, opened so that other programs may still read
// it but not write it. Raises "Cannot open file <path>" when it cannot be
// opened.
std::string ReadWholeFile(const std::string& path);

}  // namespace orva::platform
