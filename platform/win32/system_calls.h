// The system calls through which the Windows layer replaces a file, each
// reached through a table of named entries (base/replaceable_calls.h). The
// product always finds the real calls there; a test puts a failing one in
// place of any entry to see that every step of a replacement can fail
// without losing the old file.
#pragma once

#include "base/replaceable_calls.h"

namespace orva::platform {

// The table of the calls below, its entries named as the calls are:
// "_wopen", "_write", "_commit", "_close", "_wunlink" and "MoveFileExW".
ReplaceableCalls& SystemCalls();

// The calls as the layer makes them, each through its entry.
namespace os {
int Wopen(const wchar_t* path, int flags, int mode);
int Write(int fd, const void* bytes, unsigned size);
int Commit(int fd);
int Close(int fd);
int Wunlink(const wchar_t* path);
// MoveFileExW: false when the move failed, the reason then in GetLastError.
bool Move(const wchar_t* from, const wchar_t* to, unsigned long flags);
}  // namespace os

}  // namespace orva::platform
