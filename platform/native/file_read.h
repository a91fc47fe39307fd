// Reading a file on the native build, with the system's reason when it cannot
// be: whole for the plug-in's reference file (through the host-process seam's
// ReadWholeFile) and the files the host's tools are given, and its first
// bytes for the host to tell a log's kind. The host names the reason to the
// user.
#pragma once

#include <cstddef>
#include <string>

namespace orva::platform {

// 0 when `bytes` holds the whole file at `path`, else the errno of the open
// or the read that failed (a missing file, a folder, no permission).
int ReadFileWhole(const std::string& path, std::string& bytes);

// As ReadFileWhole, for no more than the first `size` bytes.
int ReadFileHead(const std::string& path, std::string& bytes, std::size_t size);

}  // namespace orva::platform
