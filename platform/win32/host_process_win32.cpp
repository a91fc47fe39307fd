// Host-process facts on Windows: the host's executable (null module handle,
// never the plug-in DLL, read whole whatever its length) and files opened so
// that others may read but not write them while the plug-in reads.
#include <windows.h>

#include "base/failure.h"
#include "platform/host_process.h"

namespace orva::platform {

const std::string_view kPathDelimiters = "\\:";
const char kPathSeparator = '\\';

namespace {
// The longest path the system handles is 32767 UTF-16 units, each of which
// the ANSI code page may spell in two bytes.
constexpr std::size_t kLongestAnsiPath = 2 * 32767;
}  // namespace

// A host installed deep enough has a path beyond MAX_PATH. A buffer that the
// system fills completely may hold a cut path (older systems neither
// terminate it nor say so), so the buffer grows until the path fits with room
// to spare. An empty result means the system gave no path at all.
std::string HostExecutablePath() {
  std::string path(MAX_PATH + 1, '\0');
  for (;;) {
    const auto size = static_cast<DWORD>(path.size());
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), size);
    if (length == 0) {
      return {};
    }
    if (length < size && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      path.resize(length);
      return path;
    }
    if (path.size() > kLongestAnsiPath) {
      return {};
    }
    path.resize(2 * path.size());
  }
}

std::optional<std::string> NamedReferenceFile() {
  return std::nullopt;
}

bool IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw Failure("Cannot open file " + path);
  }
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  CloseHandle(file);
  return bytes;
}

}  // namespace orva::platform
