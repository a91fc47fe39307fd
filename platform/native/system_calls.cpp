// The table of the file-replacement system calls: each entry holds the real
// call and the one now in its place, and every call of the layer reads its
// entry, so a replacement put in by a test takes effect at once.
#include "platform/native/system_calls.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>

namespace orva::platform {
namespace {

// The real open takes its mode as a variadic argument; a replacement can only
// be called as it was declared, so the entry holds a call of fixed arguments.
int RealOpen(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}

template <typename Call>
AnySystemCall Erased(Call* call) {
  return reinterpret_cast<AnySystemCall>(call);
}

struct Entry {
  std::string_view name;
  AnySystemCall real;
  AnySystemCall replacement;  // null while the real call is in place

  AnySystemCall Current() const { return replacement ? replacement : real; }
};

enum Index { kOpen, kMkostemp, kFchmod, kWrite, kFsync, kClose, kLink, kRename, kUnlink, kCount };

std::array<Entry, kCount>& Table() {
  static std::array<Entry, kCount> table = {{
      {"open", Erased(&RealOpen), nullptr},
      {"mkostemp", Erased(&::mkostemp), nullptr},
      {"fchmod", Erased(&::fchmod), nullptr},
      {"write", Erased(&::write), nullptr},
      {"fsync", Erased(&::fsync), nullptr},
      {"close", Erased(&::close), nullptr},
      {"link", Erased(&::link), nullptr},
      {"rename", Erased(&::rename), nullptr},
      {"unlink", Erased(&::unlink), nullptr},
  }};
  return table;
}

Entry* Find(std::string_view name) {
  for (Entry& entry : Table()) {
    if (entry.name == name) {
      return &entry;
    }
  }
  return nullptr;
}

// The entry's call as the type of the real one it stands for.
template <typename Call>
Call* Current(Index index, Call* /*real*/) {
  return reinterpret_cast<Call*>(Table()[index].Current());
}

}  // namespace

bool SetSystemCall(std::string_view name, AnySystemCall call) {
  Entry* const entry = Find(name);
  if (entry) {
    entry->replacement = call;
  }
  return entry != nullptr;
}

AnySystemCall GetSystemCall(std::string_view name) {
  const Entry* const entry = Find(name);
  return entry ? entry->Current() : nullptr;
}

void ResetSystemCalls() {
  for (Entry& entry : Table()) {
    entry.replacement = nullptr;
  }
}

namespace os {

int Open(const char* path, int flags, mode_t mode) {
  return Current(kOpen, &RealOpen)(path, flags, mode);
}

int Mkostemp(char* pattern, int flags) {
  return Current(kMkostemp, &::mkostemp)(pattern, flags);
}

int Fchmod(int fd, mode_t mode) {
  return Current(kFchmod, &::fchmod)(fd, mode);
}

ssize_t Write(int fd, const void* bytes, std::size_t size) {
  return Current(kWrite, &::write)(fd, bytes, size);
}

int Fsync(int fd) {
  return Current(kFsync, &::fsync)(fd);
}

int Close(int fd) {
  return Current(kClose, &::close)(fd);
}

int Link(const char* existing, const char* name) {
  return Current(kLink, &::link)(existing, name);
}

int Rename(const char* from, const char* to) {
  return Current(kRename, &::rename)(from, to);
}

int Unlink(const char* path) {
  return Current(kUnlink, &::unlink)(path);
}

}  // namespace os

}  // namespace orva::platform
