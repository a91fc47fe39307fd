// The table of the file-replacement system calls: every call of the layer
// reads its entry, so a replacement put in by a test takes effect at once.
#include "platform/native/system_calls.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace orva::platform {
namespace {

// The real open takes its mode as a variadic argument; a replacement can only
// be called as it was declared, so the entry holds a call of fixed arguments.
int RealOpen(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}

enum Index { kOpen, kMkostemp, kFchmod, kWrite, kFsync, kClose, kLink, kRename, kUnlink };

}  // namespace

ReplaceableCalls& SystemCalls() {
  static ReplaceableCalls table = {
      {"open", Erased(&RealOpen)}, {"mkostemp", Erased(&::mkostemp)}, {"fchmod", Erased(&::fchmod)},
      {"write", Erased(&::write)}, {"fsync", Erased(&::fsync)},       {"close", Erased(&::close)},
      {"link", Erased(&::link)},   {"rename", Erased(&::rename)},     {"unlink", Erased(&::unlink)},
  };
  return table;
}

namespace os {

int Open(const char* path, int flags, mode_t mode) {
  return SystemCalls().Current(kOpen, &RealOpen)(path, flags, mode);
}

int Mkostemp(char* pattern, int flags) {
  return SystemCalls().Current(kMkostemp, &::mkostemp)(pattern, flags);
}

int Fchmod(int fd, mode_t mode) {
  return SystemCalls().Current(kFchmod, &::fchmod)(fd, mode);
}

ssize_t Write(int fd, const void* bytes, std::size_t size) {
  return SystemCalls().Current(kWrite, &::write)(fd, bytes, size);
}

int Fsync(int fd) {
  return SystemCalls().Current(kFsync, &::fsync)(fd);
}

int Close(int fd) {
  return SystemCalls().Current(kClose, &::close)(fd);
}

int Link(const char* existing, const char* name) {
  return SystemCalls().Current(kLink, &::link)(existing, name);
}

int Rename(const char* from, const char* to) {
  return SystemCalls().Current(kRename, &::rename)(from, to);
}

int Unlink(const char* path) {
  return SystemCalls().Current(kUnlink, &::unlink)(path);
}

}  // namespace os

}  // namespace orva::platform
