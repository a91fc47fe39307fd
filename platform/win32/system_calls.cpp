// The table of the file-replacement system calls on Windows: every call of
// the layer reads its entry, so a replacement put in by a test takes effect
// at once. The C runtime's calls answer as their POSIX namesakes do (-1 and
// errno); the move keeps the system's calling convention and its last error.
#include "platform/win32/system_calls.h"

#include <windows.h>

#include <io.h>

namespace orva::platform {
namespace {

// The real _wopen takes its mode as a variadic argument; a replacement can
// only be called as it was declared, so the entry holds a call of fixed
// arguments.
int RealWopen(const wchar_t* path, int flags, int mode) {
  return ::_wopen(path, flags, mode);
}

enum Index { kWopen, kWrite, kCommit, kClose, kWunlink, kMove };

}  // namespace

ReplaceableCalls& SystemCalls() {
  static ReplaceableCalls table = {
      {"_wopen", Erased(&RealWopen)},    {"_write", Erased(&::_write)},
      {"_commit", Erased(&::_commit)},   {"_close", Erased(&::_close)},
      {"_wunlink", Erased(&::_wunlink)}, {"MoveFileExW", Erased(&::MoveFileExW)},
  };
  return table;
}

namespace os {

int Wopen(const wchar_t* path, int flags, int mode) {
  return SystemCalls().Current(kWopen, &RealWopen)(path, flags, mode);
}

int Write(int fd, const void* bytes, unsigned size) {
  return SystemCalls().Current(kWrite, &::_write)(fd, bytes, size);
}

int Commit(int fd) {
  return SystemCalls().Current(kCommit, &::_commit)(fd);
}

int Close(int fd) {
  return SystemCalls().Current(kClose, &::_close)(fd);
}

int Wunlink(const wchar_t* path) {
  return SystemCalls().Current(kWunlink, &::_wunlink)(path);
}

bool Move(const wchar_t* from, const wchar_t* to, unsigned long flags) {
  return SystemCalls().Current(kMove, &::MoveFileExW)(from, to, flags) != FALSE;
}

}  // namespace os

}  // namespace orva::platform
