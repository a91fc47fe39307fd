// The system calls through which the native layer replaces a file, each
// reached through a table of named entries. The product always finds the real
// calls there; a test puts a failing one in place of any entry to see that
// every step of a replacement can fail without losing the old file, which no
// real disk could be made to do step by step.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string_view>

namespace orva::platform {

// Any call's pointer type. What is put in an entry must have the signature of
// the entry's own call (below), and is cast back to it when called.
using AnySystemCall = void (*)();

// Puts `call` in the entry named `name` ("open", "mkostemp", "fchmod",
// "write", "fsync", "close", "link", "rename", "unlink"); a null `call` puts
// the real one back. False, with nothing changed, for a name the table lacks.
// Only tests change the table, and never while a file is being replaced.
bool SetSystemCall(std::string_view name, AnySystemCall call);
// The call now in the entry named `name`; null for a name the table lacks.
AnySystemCall GetSystemCall(std::string_view name);
// The real call in every entry.
void ResetSystemCalls();

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
