// Host-process facts on the native build: the running program's path from
// /proc, overridable by a host or test that stands in for a real host
// executable elsewhere, and the reference file a host may name instead of
// the one beside it.
#include <sys/stat.h>

#include <optional>
#include <string>
#include <system_error>

#include <unistd.h>

#include "base/failure.h"
#include "platform/host_process.h"
#include "platform/native/file_read.h"
#include "platform/native/orva_native.h"

namespace orva::platform {

const std::string_view kPathDelimiters = "/";
const char kPathSeparator = '/';

namespace {
std::optional<std::string>& ExecutablePathOverride() {
  static std::optional<std::string> path;
  return path;
}

std::optional<std::string>& ReferenceFileOverride() {
  static std::optional<std::string> path;
  return path;
}

std::optional<std::string> PathOrNothing(const char* path) {
  return path ? std::optional<std::string>(path) : std::nullopt;
}
}  // namespace

std::string HostExecutablePath() {
  if (ExecutablePathOverride()) {
    return *ExecutablePathOverride();
  }
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  path.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return path;
}

std::optional<std::string> NamedReferenceFile() {
  return ReferenceFileOverride();
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (ReadFileWhole(path, bytes) != 0) {
    throw Failure("Cannot open file " + path);
  }
  return bytes;
}

}  // namespace orva::platform

extern "C" void orva_set_executable_path(const char* path) {
  orva::platform::ExecutablePathOverride() = orva::platform::PathOrNothing(path);
}

extern "C" void orva_set_reference_file(const char* path) {
  orva::platform::ReferenceFileOverride() = orva::platform::PathOrNothing(path);
}
