// The system calls through which the native layer replaces a file, each
// reached through a table of named entries (base/replaceable_calls.h). The
// product always finds the real calls there; a test puts a failing one in
// place of any entry to see that every step of a replacement can fail
// without losing the old file.
#pragma once

#include <sys/types.h>

#include <cstddef>

#include "base/replaceable_calls.h"

namespace orva::platform {

// The table of the calls below, its entries named "open", "mkostemp",
// "fchmod", "write", "fsync", "close", "link", "rename" and "unlink".
ReplaceableCalls& SystemCalls();

// The calls as the layer makes them, each through its entry.
namespace os {
int Open(const char* path, int flags, mode_t mode);
int Mkostemp(char* pattern, int flags);
int Fchmod(int fd, mode_t mode);
ssize_t Write(int fd, const void* bytes, std::size_t size);
int Fsync(int fd);
int Close(int fd);
int Link(const char* existing, const char* name);
int Rename(const char* from, const char* to);
int Unlink(const char* path);
}  // namespace os

}  // namespace orva::platform
